#include "scan/FigRule.h"

#include <algorithm>

#include "base/Text.h"
#include "cure/RegUtils.h"
#include "framework/utils/Paths.h"
#include "framework/utils/TextUtils.h"
#include "platform/Platform.h"
#include "scan/FileProbe.h"
#include "scan/RegistryProbe.h"
#include "scan/RootKeys.h"

namespace brimlow::scan {
namespace {

using platform::RegRoot;
using platform::Result;

constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr wchar_t kAppPathsKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr wchar_t kFileExtsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";
constexpr wchar_t kEmptyMarker[] = L"@Empty";

// A value read as text. A missing value (or key) reads as empty text; a
// value of another type than a string cannot be read as text, and the check
// that asked for it answers "no match" rather than guess.
struct TextRead {
  std::wstring text;
  bool readable = true;
};

TextRead ReadText(RegistryProbe& reg, RegRoot root, const std::wstring& path, const std::wstring& name) {
  platform::RegValue value;
  if (reg.QueryValue(root, path, name, &value) != Result::kOk) return {};
  if (value.type != platform::RegType::kSz && value.type != platform::RegType::kExpandSz) {
    return {L"", false};
  }
  return {platform::RegValueText(value), true};
}

bool ValueExists(RegistryProbe& reg, RegRoot root, const std::wstring& path, const std::wstring& name) {
  platform::RegValue value;
  return reg.QueryValue(root, path, name, &value) == Result::kOk;
}

std::wstring LastComponent(const std::wstring& path) {
  const auto pos = path.rfind(L'\\');
  return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

// ExtractFileExt without a copy.
std::wstring_view FileExtOf(std::wstring_view path) {
  for (std::size_t i = path.size(); i-- > 0;) {
    if (path[i] == L'\\' || path[i] == L':') return {};
    if (path[i] == L'.') return path.substr(i);
  }
  return {};
}

// CombinePath(folder, name) for a name the walk listed in a folder given
// with its drive and closing backslash: the two side by side. Anything
// else goes through CombinePath.
std::wstring JoinListedName(const std::wstring& folder, const std::wstring& name) {
  const bool plain_name = std::none_of(name.begin(), name.end(),
                                       [](wchar_t c) { return c == L'\\' || c == L'/' || c == L':'; });
  const bool plain = plain_name && folder.size() >= 3 && folder[1] == L':' && folder.back() == L'\\' &&
                     folder.find(L'/') == std::wstring::npos;
  return plain ? folder + name : CombinePath(folder, name);
}

// Numbers and bytes are compared without regard to the case of their hex
// digits; strings letter for letter.
bool SameData(const std::wstring& wanted, const std::wstring& live) {
  const bool numeric = StartsWithText(live, L"dword:") || StartsWithText(live, L"hex:");
  return numeric ? SameText(wanted, live) : wanted == live;
}

}  // namespace

TFigRuleTopic::TFigRuleTopic(const std::wstring& aRuleString, const std::wstring& aRuleCaption,
                             const std::vector<std::wstring>& aRegItemList, TTopicStatus aTopicStatus,
                             const std::wstring& aTopicExceptOptions)
    : RuleString(aRuleString),
      RuleCaption(aRuleCaption),
      RegItemList(aRegItemList),
      TopicStatus(aTopicStatus),
      ExceptOptions(SplitCommaText(aTopicExceptOptions)) {
  SplitText(RuleString, L',', &RuleParams);
  if (!RuleParams.empty()) RuleStyle = RuleStyleFromName(RuleParams[0]);
}

struct TFigRuleProcessor::Owned {
  TFigRuleTopic topic;
  std::wstring root;
  std::wstring path;
  std::wstring section;
  std::wstring name;
};

TFigRuleProcessor::TFigRuleProcessor(const std::wstring& aRuleString, const std::wstring& aRuleCaption,
                                     TLocationStyle aLocationStyle, const std::wstring& aRoot,
                                     const std::wstring& aPath, const std::wstring& aSection,
                                     const std::wstring& aName,
                                     const std::vector<std::wstring>& aRegItemList,
                                     TTopicStatus aTopicStatus, const std::wstring& aTopicExceptOptions,
                                     FileProbe* probe)
    : TFigRuleProcessor(std::make_unique<Owned>(Owned{
                            TFigRuleTopic(aRuleString, aRuleCaption, aRegItemList, aTopicStatus,
                                          aTopicExceptOptions),
                            aRoot, aPath, aSection, aName}),
                        aLocationStyle, probe) {}

TFigRuleProcessor::TFigRuleProcessor(std::unique_ptr<Owned> owned, TLocationStyle aLocationStyle,
                                     FileProbe* probe)
    : FOwned(std::move(owned)),
      FTopic(FOwned->topic),
      FLocationStyle(aLocationStyle),
      FRoot(FOwned->root),
      FPath(FOwned->path),
      FSection(FOwned->section),
      FName(FOwned->name),
      FProbe(probe ? probe : &DirectFileProbe()),
      FRegistry(&DirectRegistryProbe()) {}

TFigRuleProcessor::TFigRuleProcessor(const TFigRuleTopic& aTopic, TLocationStyle aLocationStyle,
                                     const std::wstring& aRoot, const std::wstring& aPath,
                                     const std::wstring& aSection, const std::wstring& aName, FileProbe* probe,
                                     RegistryProbe* registry)
    : FTopic(aTopic),
      FLocationStyle(aLocationStyle),
      FRoot(aRoot),
      FPath(aPath),
      FSection(aSection),
      FName(aName),
      FProbe(probe ? probe : &DirectFileProbe()),
      FRegistry(registry ? registry : &DirectRegistryProbe()) {}

TFigRuleProcessor::~TFigRuleProcessor() = default;

std::wstring TFigRuleProcessor::Field(std::size_t index) const {
  return index < FTopic.RuleParams.size() ? FTopic.RuleParams[index] : std::wstring();
}

bool TFigRuleProcessor::Match(TFigResultItem& Ret, const std::wstring& msg, TFigReason reason) {
  Ret.Msg = msg;
  Ret.Reason = reason;
  return true;
}

bool TFigRuleProcessor::DoSearch(TFigResultItem& Ret) {
  Ret.MatchFlag = false;
  if (FTopic.TopicStatus == tsCured) return false;
  switch (FTopic.RuleStyle) {
    case rsRegistryBoostOrFix: return CheckRegistryBoostOrFix(Ret);
    case rsActiveX: return CheckActiveX(Ret);
    case rsUninstall: return CheckUninstall(Ret);
    case rsAppPaths: return CheckAppPaths(Ret);
    case rsFonts: return CheckFonts(Ret);
    case rsSharedDlls: return CheckSharedDlls(Ret);
    case rsHelp: return CheckHelp(Ret);
    case rsDrivers: return CheckDrivers(Ret);
    case rsShortcuts: return CheckShortcuts(Ret);
    case rsHistoryNMRU: return CheckHistoryNMRU(Ret);
    case rsStartup: return CheckStartup(Ret);
    case rsFileType: return CheckFileType(Ret);
    case rsEmptyKey: return CheckEmptyKey(Ret);
    case rsJunkFile: return CheckJunkFile(Ret);
    case rsRegistryHistory: return Match(Ret, Field(0), frRegistryHistory);
    case rsRurudOraziv: return Match(Ret, Field(0), frNeedSweep);
    default: return false;
  }
}

bool TFigRuleProcessor::CheckRegistryBoostOrFix(TFigResultItem& Ret) {
  const cure::RegValueLine live = cure::FormatRegValueLine(FRoot, FPath, FSection);
  std::wstring wanted;
  for (const auto& line : FTopic.RegItemList) {
    const auto eq = line.find(L'=');
    if (SameText(line.substr(0, eq), live.nameText)) {
      wanted = eq == std::wstring::npos ? std::wstring() : line.substr(eq + 1);
      break;
    }
  }
  if (wanted.empty() || SameData(wanted, live.valueText)) return false;
  return Match(Ret, L"Need Reg Boost", frNeedRegistryBoostOrFix);
}

// A missing "TypeLib" subkey, or a missing class key, reads as an empty
// value below: no finding either way, so neither is opened twice.
bool TFigRuleProcessor::CheckActiveX(TFigResultItem& Ret) {
  const RegRoot root = RegRoot::kClassesRoot;
  if (SameText(FPath, L"CLSID")) return false;

  std::uint32_t subkeys = 0;
  std::uint32_t values = 0;
  if (FRegistry->CountChildren(root, FPath, &subkeys, &values) == Result::kOk && subkeys == 0) {
    bool empty = values == 0;
    if (values == 1 && FName.empty()) {
      std::vector<platform::RegValue> list;
      empty = FRegistry->Values(root, FPath, &list) == Result::kOk && list.size() == 1 && list[0].name.empty();
    }
    if (empty) return Match(Ret, L"Empty key.", frActiveXEmptyKey);
  }

  const TextRead typelib = ReadText(*FRegistry, root, FPath + L"\\TypeLib", L"");
  if (!typelib.readable) return false;
  const std::wstring typelib_id = Trim(typelib.text);
  if (!typelib_id.empty() && typelib_id != L"{}" && !FRegistry->KeyExists(root, L"TypeLib\\" + typelib_id)) {
    return Match(Ret, L"TypeLib and AppID is not exists.", frActiveXTypeLibNotExists);
  }

  const TextRead appid = ReadText(*FRegistry, root, FPath, L"AppID");
  if (!appid.readable) return false;
  const std::wstring appid_id = Trim(appid.text);
  if (!appid_id.empty() && !FRegistry->KeyExists(root, L"AppID\\" + appid_id)) {
    return Match(Ret, L"TypeLib and AppID is not exists.", frActiveXTypeLibNotExists);
  }
  return false;
}

bool TFigRuleProcessor::CheckUninstall(TFigResultItem& Ret) {
  const RegRoot root = RegRoot::kLocalMachine;
  if (SameText(FPath, kUninstallKey)) return false;
  if (SameText(FName, kEmptyMarker)) return Match(Ret, L"Empty uninstall info", frEmptyUninstallInfo);
  if (!FRegistry->KeyExists(root, FPath) || ValueExists(*FRegistry, root, FPath, L"SystemComponent")) return false;

  const TextRead uninstall = ReadText(*FRegistry, root, FPath, L"UninstallString");
  if (!uninstall.readable) return false;
  const ResolvedCommand command = ResolveCommandFile(uninstall.text, FProbe);
  if (command.exists) return false;
  const std::wstring lower = LowerCase(command.path);
  if (SameText(command.path, L"MsiExec.exe") || lower.find(L".exe") != std::wstring::npos ||
      lower.find(L".dll") != std::wstring::npos) {
    return false;
  }

  const TextRead source = ReadText(*FRegistry, root, FPath, L"InstallSource");
  if (!source.readable || SourceFolderExists(source.text, FProbe)) return false;
  return Match(Ret, L"Uninstall file [" + command.path + L"] is not exists", frUninstallFileNotExists);
}

bool TFigRuleProcessor::CheckAppPaths(TFigResultItem& Ret) {
  const RegRoot root = RegRoot::kLocalMachine;
  const std::wstring last = LastComponent(FPath);
  if (SameText(FPath, kAppPathsKey) || SameText(last, L"install.exe")) return false;

  const ResolvedCommand direct = ResolveCommandFile(FName, FProbe);
  if (direct.exists) return false;
  if (ContainsText(direct.path, L"cmmgr32.exe") || ValueExists(*FRegistry, root, FPath, L"RunAsOnNonAdminInstall")) {
    return false;
  }
  const TextRead folder = ReadText(*FRegistry, root, FPath, L"Path");
  if (!folder.readable) return false;
  if (ResolveCommandFile(CombinePath(folder.text, FName), FProbe).exists) return false;
  if (ResolveCommandFile(CombinePath(folder.text, last), FProbe).exists) return false;
  return Match(Ret, L"File [" + FPath + L"] is not Exists.", frAppPathNotExists);
}

bool TFigRuleProcessor::CheckFonts(TFigResultItem& Ret) {
  if (FProbe->FileExists(CombinePath(GetShellFolder(L"Fonts"), FName))) return false;
  return Match(Ret, L"Font not found.", frFontNotFound);
}

bool TFigRuleProcessor::CheckSharedDlls(TFigResultItem& Ret) {
  bool matched = false;
  if (!FProbe->FileExists(FSection)) {
    matched = Match(Ret, L"Shared Dll [" + FSection + L"] not found.", frSharedDllNotFound);
  }
  if (FName == L"0") {
    matched = Match(Ret, L"Shared Dll [" + FSection + L"] is not used.", frSharedDllIsNotUsed);
  }
  return matched;
}

bool TFigRuleProcessor::CheckHelp(TFigResultItem& Ret) {
  if (FProbe->FileExists(CombinePath(FName, FSection))) return false;
  return Match(Ret, L"Help not found.", frHelpFileNotFound);
}

bool TFigRuleProcessor::CheckDrivers(TFigResultItem& Ret) {
  if (FProbe->FileExists(FName)) return false;
  const std::wstring path = ExpandEnvVariable(L"%systemroot%\\system32\\" + FName);
  if (FProbe->FileExists(path)) return false;
  return Match(Ret, L"Driver [" + path + L"] not found.", frDriverNotFound);
}

// A shortcut is broken only when it names a file-system target that is gone.
// A link without a file-system target (a shell item such as the Control
// Panel), or one whose target is an existing folder, works.
bool TFigRuleProcessor::CheckShortcuts(TFigResultItem& Ret) {
  const std::wstring file = CombinePath(FPath, FName);
  if (!SameText(ExtractFileExt(file), L".lnk") || !FProbe->FileExists(file)) return false;
  const std::wstring target = platform::Links().Target(file);
  if (target.empty() || FProbe->FolderExists(target)) return false;
  const ResolvedCommand command = ResolveCommandFile(target, FProbe);
  if (command.exists) return false;
  return Match(Ret, L"Shortfile [" + command.path + L"] is not correct", frShortcutLinkError);
}

bool TFigRuleProcessor::CheckHistoryNMRU(TFigResultItem& Ret) {
  if (FPath.find(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32") == std::wstring::npos &&
      FPath.find(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist") == std::wstring::npos) {
    return false;
  }
  return Match(Ret, L"History", frHistoryNMRU);
}

bool TFigRuleProcessor::CheckStartup(TFigResultItem& Ret) {
  if (SameText(FName, kEmptyMarker) || ResolveCommandFile(FName, FProbe).exists) return false;
  const ResolvedCommand beside = ResolveCommandFile(L"%Systemroot%\\" + FName, FProbe);
  if (beside.exists) return false;
  return Match(Ret, L"Startup [" + beside.path + L"]Item is not correct.", frStartupItemNotCorrect);
}

bool TFigRuleProcessor::CheckFileType(TFigResultItem& Ret) {
  const auto root = RootKeyFromName(FRoot);
  if (SameText(FPath, kFileExtsKey)) return false;
  if (root && (FRegistry->KeyExists(*root, FPath + L"\\OpenWithProgids") ||
               FRegistry->KeyExists(*root, FPath + L"\\OpenWithList"))) {
    return false;
  }
  return Match(Ret, CombinePath(FPath, L"OpenWithProgids"), frNoAppOpenWithFile);
}

bool TFigRuleProcessor::CheckEmptyKey(TFigResultItem& Ret) {
  if (FPath.find(L"Software\\Microsoft") != std::wstring::npos) return false;
  if (!SameText(FName, kEmptyMarker)) return false;
  return Match(Ret, L"Empty key", frEmptyKey);
}

bool TFigRuleProcessor::CheckJunkFile(TFigResultItem& Ret) {
  if (FProbe->FolderExists(JoinListedName(FRoot, FName))) return false;
  const std::wstring_view ext = FileExtOf(FName);
  const auto& fields = FTopic.RuleParams;
  const bool wanted = std::any_of(fields.begin(), fields.end(), [&](const std::wstring& field) {
    return SameText(field, ext) || field == L".*";
  });
  if (!wanted) return false;
  const auto& except = FTopic.ExceptOptions;
  if (!except.empty() && std::find(except.begin(), except.end(), UpperCase(FName)) != except.end()) return false;
  Match(Ret, Field(0), frJunkFile);
  Ret.MatchFlag = true;
  return true;
}

}  // namespace brimlow::scan
