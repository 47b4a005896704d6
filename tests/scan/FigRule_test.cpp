#include "scan/FigRule.h"

#include <gtest/gtest.h>

#include <functional>

#include "framework/utils/Paths.h"
#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow::scan {
namespace {

using platform::RegRoot;

class FigRuleTest : public ::testing::Test {
 protected:
  void SetString(RegRoot root, const std::wstring& path, const std::wstring& name, const std::wstring& text) {
    ASSERT_EQ(platform::Reg().SetValue(root, path, platform::MakeStringValue(name, text)),
              platform::Result::kOk);
    cleanup_.push_back({root, path});
  }
  void SetDword(RegRoot root, const std::wstring& path, const std::wstring& name, std::uint32_t n) {
    ASSERT_EQ(platform::Reg().SetValue(root, path, platform::MakeDwordValue(name, n)), platform::Result::kOk);
    cleanup_.push_back({root, path});
  }
  void CreateKey(RegRoot root, const std::wstring& path) {
    ASSERT_EQ(platform::Reg().CreateKey(root, path), platform::Result::kOk);
    cleanup_.push_back({root, path});
  }
  void WriteFile(const std::wstring& path) {
    ASSERT_EQ(platform::Files().WriteFileAtomic(path, Bytes{'x'}), platform::Result::kOk);
  }
  std::wstring Folder() const { return scratch_.Folder(); }

  ~FigRuleTest() override {
    for (const auto& [root, path] : cleanup_) platform::Reg().DeleteKeyTree(root, path);
  }

  testing::ScratchSystem scratch_;
  std::vector<std::pair<RegRoot, std::wstring>> cleanup_;
};

struct Item {
  std::wstring rule;
  TLocationStyle style = lsRegistry;
  std::wstring root, path, section, name;
  std::vector<std::wstring> reg_items = {};
  std::wstring except = L"";
};

struct Verdict {
  bool match;
  std::wstring msg = L"";
  TFigReason reason = frActiveXServerCmdNotExists;
};

void ExpectVerdict(const Item& item, const Verdict& want, const std::string& label,
                   TTopicStatus status = tsUncured) {
  TFigRuleProcessor processor(item.rule, L"caption", item.style, item.root, item.path, item.section, item.name,
                              item.reg_items, status, item.except);
  TFigResultItem ret;
  ret.MatchFlag = true;
  const bool matched = processor.DoSearch(ret);
  EXPECT_EQ(matched, want.match) << label;
  if (matched && want.match) {
    EXPECT_EQ(ToUtf8(ret.Msg), ToUtf8(want.msg)) << label;
    EXPECT_EQ(ret.Reason, want.reason) << label;
  }
  EXPECT_EQ(ret.MatchFlag, matched && item.rule.rfind(L"rsJunkFile", 0) == 0) << label;
}

TEST_F(FigRuleTest, ResolveCommandFileReducesCommandLinesToTheirFile) {
  WriteFile(Folder() + L"tool.exe");
  struct Case {
    std::wstring command;
    std::wstring path;
    bool exists;
  } cases[] = {
      {L"rundll32.exe C:\\X.DLL,Entry", L"C:\\X.DLL", false},
      {L"\"C:\\Program Files\\App\\u.exe\" -arg", L"C:\\PROGRAM FILES\\APP\\U.EXE", false},
      {L"C:\\Program Files\\App\\u.exe -arg", L"C:\\PROGRAM FILES\\APP\\U.EXE", false},
      {L"\"" + Folder() + L"tool.exe\" /x", UpperCase(Folder() + L"tool.exe"), true},
      {L"", L"", false},
  };
  for (const auto& c : cases) {
    const ResolvedCommand r = ResolveCommandFile(c.command);
    EXPECT_EQ(ToUtf8(r.path), ToUtf8(c.path)) << ToUtf8(c.command);
    EXPECT_EQ(r.exists, c.exists) << ToUtf8(c.command);
  }
}

TEST_F(FigRuleTest, ExpandEnvVariableKeepsTheValueAndWhatFollowsTheSecondPercent) {
  const std::wstring root = platform::Env().Variable(L"SystemRoot");
  ASSERT_FALSE(root.empty());
  EXPECT_EQ(ExpandEnvVariable(L"no variables"), L"no variables");
  EXPECT_EQ(ExpandEnvVariable(L"50% off"), L"50% off");
  EXPECT_EQ(ExpandEnvVariable(L"%systemroot%\\system32\\x.sys"), root + L"\\system32\\x.sys");
  EXPECT_EQ(ExpandEnvVariable(L"lead%SystemRoot%tail%more"), root + L"tail");
}

TEST_F(FigRuleTest, SplitCommaTextFollowsCommaTextRules) {
  EXPECT_EQ(SplitCommaText(L"a.txt, b.log"), (std::vector<std::wstring>{L"A.TXT", L"B.LOG"}));
  EXPECT_EQ(SplitCommaText(L"a,,b"), (std::vector<std::wstring>{L"A", L"", L"B"}));
  EXPECT_EQ(SplitCommaText(L"\"my file.tmp\",x"), (std::vector<std::wstring>{L"MY FILE.TMP", L"X"}));
  EXPECT_EQ(SplitCommaText(L"a b"), (std::vector<std::wstring>{L"A", L"B"}));
  EXPECT_EQ(SplitCommaText(L"a,"), (std::vector<std::wstring>{L"A", L""}));
  EXPECT_TRUE(SplitCommaText(L"").empty());
}

TEST_F(FigRuleTest, UninstallEntries) {
  const std::wstring base = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BrimlowTest";
  const RegRoot hklm = RegRoot::kLocalMachine;
  SetString(hklm, base + L"Exe", L"UninstallString", L"C:\\Missing\\uninst.exe /S");
  SetString(hklm, base + L"Bat", L"UninstallString", L"C:\\Missing\\uninst.bat");
  SetString(hklm, base + L"Source", L"UninstallString", L"C:\\Missing\\uninst.bat");
  SetString(hklm, base + L"Source", L"InstallSource", Folder() + L"setup.msi");
  SetString(hklm, base + L"System", L"UninstallString", L"C:\\Missing\\uninst.bat");
  SetDword(hklm, base + L"System", L"SystemComponent", 1);
  SetDword(hklm, base + L"Typed", L"UninstallString", 7);
  WriteFile(Folder() + L"present.bat");
  SetString(hklm, base + L"Present", L"UninstallString", Folder() + L"present.bat");

  const std::wstring rule = L"rsUninstall";
  ExpectVerdict({rule, lsRegistry, L"HKEY_LOCAL_MACHINE", base + L"Exe", L"", L""}, {false}, "missing .exe");
  ExpectVerdict({rule, lsRegistry, L"HKEY_LOCAL_MACHINE", base + L"Bat", L"", L""},
                {true, L"Uninstall file [C:\\MISSING\\UNINST.BAT] is not exists", frUninstallFileNotExists},
                "missing .bat");
  ExpectVerdict({rule, lsRegistry, L"HKEY_LOCAL_MACHINE", base + L"Source", L"", L""}, {false},
                "install source folder exists");
  ExpectVerdict({rule, lsRegistry, L"HKEY_LOCAL_MACHINE", base + L"System", L"", L""}, {false},
                "system component");
  ExpectVerdict({rule, lsRegistry, L"HKEY_LOCAL_MACHINE", base + L"Typed", L"", L""}, {false},
                "uninstall string of another type is left alone");
  ExpectVerdict({rule, lsRegistry, L"HKEY_LOCAL_MACHINE", base + L"Present", L"", L""}, {false}, "present");
  ExpectVerdict({rule, lsRegistry, L"HKEY_LOCAL_MACHINE", base + L"Bat", L"", L"@Empty"},
                {true, L"Empty uninstall info", frEmptyUninstallInfo}, "@Empty marker");
  ExpectVerdict({rule, lsRegistry, L"HKEY_LOCAL_MACHINE",
                 L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", L"", L"@Empty"},
                {false}, "the Uninstall key itself");
}

TEST_F(FigRuleTest, ComClassRegistrations) {
  const RegRoot hkcr = RegRoot::kClassesRoot;
  const std::wstring clsid = L"CLSID\\{B0000000-0000-4000-8000-00000000BEEF}";
  CreateKey(hkcr, clsid + L"Empty");
  SetString(hkcr, clsid + L"DefaultOnly", L"", L"A class");
  SetString(hkcr, clsid + L"Lib\\TypeLib", L"", L"{B0000000-0000-4000-8000-0000000DEAD0}");
  SetString(hkcr, clsid + L"Lib\\InprocServer32", L"", L"x.dll");
  SetString(hkcr, clsid + L"Braces\\TypeLib", L"", L"{}");
  SetString(hkcr, clsid + L"Braces\\InprocServer32", L"", L"x.dll");
  SetString(hkcr, clsid + L"App", L"AppID", L"{B0000000-0000-4000-8000-0000000DEAD1}");
  SetString(hkcr, clsid + L"App\\InprocServer32", L"", L"x.dll");

  const std::wstring rule = L"rsActiveX";
  const std::wstring root = L"HKEY_CLASSES_ROOT";
  ExpectVerdict({rule, lsRegistry, root, clsid + L"Empty", L"", L""}, {true, L"Empty key.", frActiveXEmptyKey},
                "empty key");
  ExpectVerdict({rule, lsRegistry, root, clsid + L"DefaultOnly", L"", L""},
                {true, L"Empty key.", frActiveXEmptyKey}, "only an empty-named value, empty data");
  ExpectVerdict({rule, lsRegistry, root, clsid + L"DefaultOnly", L"", L"A class"}, {false},
                "only an empty-named value with data");
  ExpectVerdict({rule, lsRegistry, root, clsid + L"Lib", L"", L""},
                {true, L"TypeLib and AppID is not exists.", frActiveXTypeLibNotExists}, "missing type library");
  ExpectVerdict({rule, lsRegistry, root, clsid + L"Braces", L"", L""}, {false}, "type library {}");
  ExpectVerdict({rule, lsRegistry, root, clsid + L"App", L"AppID", L""},
                {true, L"TypeLib and AppID is not exists.", frActiveXTypeLibNotExists}, "missing AppID");
  ExpectVerdict({rule, lsRegistry, root, L"CLSID", L"", L""}, {false}, "the CLSID key itself");
}

TEST_F(FigRuleTest, FileBasedChecks) {
  WriteFile(Folder() + L"present.dll");
  WriteFile(Folder() + L"help.chm");
  WriteFile(Folder() + L"a.tmp");
  WriteFile(Folder() + L"keep.tmp");
  WriteFile(Folder() + L"noext");
  ASSERT_EQ(platform::Files().CreateFolder(Folder() + L"b.tmp"), platform::Result::kOk);
  const std::wstring missing = Folder() + L"gone.dll";

  ExpectVerdict({L"rsSharedDlls", lsRegistry, L"HKEY_LOCAL_MACHINE", L"k", missing, L"1"},
                {true, L"Shared Dll [" + missing + L"] not found.", frSharedDllNotFound}, "shared dll missing");
  ExpectVerdict({L"rsSharedDlls", lsRegistry, L"HKEY_LOCAL_MACHINE", L"k", missing, L"0"},
                {true, L"Shared Dll [" + missing + L"] is not used.", frSharedDllIsNotUsed},
                "missing and unused: unused wins");
  ExpectVerdict({L"rsSharedDlls", lsRegistry, L"HKEY_LOCAL_MACHINE", L"k", Folder() + L"present.dll", L"3"},
                {false}, "shared dll present");
  ExpectVerdict({L"rsHelp", lsRegistry, L"HKEY_LOCAL_MACHINE", L"k", L"help.chm", Folder()}, {false},
                "help present");
  ExpectVerdict({L"rsHelp", lsRegistry, L"HKEY_LOCAL_MACHINE", L"k", L"gone.chm", Folder()},
                {true, L"Help not found.", frHelpFileNotFound}, "help missing");
  ExpectVerdict({L"rsDrivers", lsRegistry, L"HKEY_LOCAL_MACHINE", L"k", L"", Folder() + L"present.dll"},
                {false}, "driver present");
  const std::wstring driver = platform::Env().Variable(L"SystemRoot") + L"\\system32\\brimlow-gone.sys";
  ExpectVerdict({L"rsDrivers", lsRegistry, L"HKEY_LOCAL_MACHINE", L"k", L"", L"brimlow-gone.sys"},
                {true, L"Driver [" + driver + L"] not found.", frDriverNotFound}, "driver missing");

  const std::wstring junk = L"rsJunkFile,.TMP";
  ExpectVerdict({junk, lsDisk, Folder(), Folder(), L"@Temp", L"a.tmp"}, {true, L"rsJunkFile", frJunkFile},
                "junk by extension");
  ExpectVerdict({junk, lsDisk, Folder(), Folder(), L"@Temp", L"b.tmp"}, {false}, "a folder is never junk");
  ExpectVerdict({junk, lsDisk, Folder(), Folder(), L"@Temp", L"keep.tmp", {}, L"x.log, KEEP.TMP"}, {false},
                "excepted name");
  ExpectVerdict({junk, lsDisk, Folder(), Folder(), L"@Temp", L"noext"}, {false}, "no extension");
  ExpectVerdict({L"rsJunkFile,,.log", lsDisk, Folder(), Folder(), L"@Temp", L"noext"},
                {true, L"rsJunkFile", frJunkFile}, "an empty field admits files without extension");
  ExpectVerdict({L"rsJunkFile,.*", lsDisk, Folder(), Folder(), L"@Temp", L"anything.dat"},
                {true, L"rsJunkFile", frJunkFile}, "any extension");
}

TEST_F(FigRuleTest, RegistryValueChecks) {
  const RegRoot hkcu = RegRoot::kCurrentUser;
  const std::wstring key = scratch_.RegPath();
  SetDword(hkcu, key, L"Wanted", 10);
  SetString(hkcu, key, L"Text", L"on");
  const std::wstring boost = L"rsRegistryBoostOrFix";
  ExpectVerdict({boost, lsRegistryItem, L"HKEY_CURRENT_USER", key, L"Wanted", L"", {L"\"Wanted\"=dword:0000000A"}},
                {false}, "value as wanted");
  ExpectVerdict({boost, lsRegistryItem, L"HKEY_CURRENT_USER", key, L"Wanted", L"", {L"\"Wanted\"=dword:0000000a"}},
                {false}, "hex digits compare without case");
  ExpectVerdict({boost, lsRegistryItem, L"HKEY_CURRENT_USER", key, L"Wanted", L"", {L"\"Wanted\"=dword:00000001"}},
                {true, L"Need Reg Boost", frNeedRegistryBoostOrFix}, "value differs");
  ExpectVerdict({boost, lsRegistryItem, L"HKEY_CURRENT_USER", key, L"Text", L"", {L"\"Text\"=\"ON\""}},
                {true, L"Need Reg Boost", frNeedRegistryBoostOrFix}, "strings compare exactly");
  ExpectVerdict({boost, lsRegistryItem, L"HKEY_CURRENT_USER", key, L"Absent", L"", {L"\"Absent\"=\"1\""}},
                {true, L"Need Reg Boost", frNeedRegistryBoostOrFix}, "missing value");
  ExpectVerdict({boost, lsRegistryItem, L"HKEY_CURRENT_USER", key, L"Absent", L"", {L"\"Other\"=\"1\""}},
                {false}, "no wanted line");

  ExpectVerdict({L"rsHistoryNMRU", lsRegistry, L"HKEY_CURRENT_USER",
                 L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU", L"a", L"b"},
                {true, L"History", frHistoryNMRU}, "open/save history");
  ExpectVerdict({L"rsHistoryNMRU", lsRegistry, L"HKEY_CURRENT_USER",
                 L"software\\microsoft\\windows\\currentversion\\explorer\\comdlg32", L"a", L"b"},
                {false}, "letter case must match");
  ExpectVerdict({L"rsEmptyKey", lsRegistry, L"HKEY_CURRENT_USER", L"Software\\Vendor", L"", L"@Empty"},
                {true, L"Empty key", frEmptyKey}, "empty-key marker");
  ExpectVerdict({L"rsEmptyKey", lsRegistry, L"HKEY_CURRENT_USER", L"Software\\Microsoft\\X", L"", L"@Empty"},
                {false}, "never below Software\\Microsoft");
  ExpectVerdict({L"rsFileType", lsRegistry, L"HKEY_CURRENT_USER", key, L"", L""},
                {true, L"OpenWithProgids", frNoAppOpenWithFile}, "no program opens the type");
  CreateKey(hkcu, key + L"\\OpenWithList");
  ExpectVerdict({L"rsFileType", lsRegistry, L"HKEY_CURRENT_USER", key, L"", L""}, {false}, "open-with list");
  ExpectVerdict({L"rsRegistryHistory,Typed URLs", lsRegistry, L"HKEY_CURRENT_USER", key, L"", L""},
                {true, L"rsRegistryHistory", frRegistryHistory}, "history always matches");
  ExpectVerdict({L"rsRurudOraziv,/clean", lsDisk, L"C:\\r.exe", L"C:\\r.exe", L"C:\\r.exe", L"rurudoraziv.exe"},
                {true, L"rsRurudOraziv", frNeedSweep}, "sweep helper always matches");
  ExpectVerdict({L"rsStartup", lsRegistry, L"HKEY_CURRENT_USER", key, L"App", L"C:\\Gone\\app.exe /min"},
                {true, L"Startup [" + platform::Env().Variable(L"SystemRoot") + L"\\C:\\GONE\\APP.EXE]Item is not correct.",
                 frStartupItemNotCorrect},
                "dead start-up entry");
  WriteFile(Folder() + L"app.exe");
  ExpectVerdict({L"rsStartup", lsRegistry, L"HKEY_CURRENT_USER", key, L"App", Folder() + L"app.exe /min"}, {false},
                "working start-up entry");
}

TEST_F(FigRuleTest, CuredTopicsAndUnknownRulesNeverMatch) {
  ExpectVerdict({L"rsRegistryHistory", lsRegistry, L"HKEY_CURRENT_USER", L"k", L"", L""}, {false}, "cured",
                tsCured);
  ExpectVerdict({L"rsNoSuchRule", lsRegistry, L"HKEY_CURRENT_USER", L"k", L"", L""}, {false}, "unknown style");
  ExpectVerdict({L"", lsRegistry, L"HKEY_CURRENT_USER", L"k", L"", L""}, {false}, "topic without a rule");
}

}  // namespace
}  // namespace brimlow::scan
