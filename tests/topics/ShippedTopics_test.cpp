// The shipped topic database, scanned topic by topic on a throw-away system:
// every topic finds a planted problem and leaves a healthy neighbour alone.
// On the Windows build the system is the real one (Wine's under the tests),
// so everything planted has a unique name and is removed afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/PortableMainLoop.h"
#include "base/Text.h"
#include "framework/utils/Paths.h"
#include "platform/Platform.h"
#include "scan/FigTypes.h"
#include "scan/VazArovov.h"
#include "support/ScratchSystem.h"

namespace brimlow::scan {
namespace {

using platform::RegRoot;

constexpr wchar_t kCurrentVersion[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr wchar_t kExplorer[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

// A folder of the source tree as a Windows path: the test data variable holds
// a host path, which Wine and the stand-in both reach through drive Z:.
std::wstring SourceFolder(const std::wstring& relative) {
  const char* data = std::getenv("BRIMLOW_TEST_DATA");
  std::wstring folder = FromUtf8(data ? data : "");
  if (!folder.empty() && folder[0] == L'/') folder = L"Z:" + folder;
  for (auto& c : folder)
    if (c == L'/') c = L'\\';
  return folder + L"\\" + relative;
}

std::wstring DatabaseFile() { return SourceFolder(L"..\\..\\data\\topic.db"); }

Bytes ReadBytes(const std::wstring& windows_path) {
  Bytes bytes;
  platform::Files().ReadFile(windows_path, &bytes);
  return bytes;
}

// Plants keys, values and files and takes them away again, newest first.
class Planter {
 public:
  ~Planter() {
    for (auto undo = undo_.rbegin(); undo != undo_.rend(); ++undo) (*undo)();
  }

  // A key, made with its missing parents; whatever was made goes again.
  void Key(RegRoot root, const std::wstring& path) {
    ForgetNewKeys(root, path);
    platform::Reg().CreateKey(root, path);
  }
  // A value in an existing or new key; the value's former state comes back.
  void Value(RegRoot root, const std::wstring& path, const platform::RegValue& value) {
    platform::RegValue old;
    const bool had = platform::Reg().QueryValue(root, path, value.name, &old) == platform::Result::kOk;
    if (!ForgetNewKeys(root, path)) {
      undo_.push_back([=] {
        if (had) platform::Reg().SetValue(root, path, old);
        else platform::Reg().DeleteValue(root, path, value.name);
      });
    }
    platform::Reg().SetValue(root, path, value);
  }
  void String(RegRoot root, const std::wstring& path, const std::wstring& name, const std::wstring& data) {
    Value(root, path, platform::MakeStringValue(name, data));
  }
  void NoValue(RegRoot root, const std::wstring& path, const std::wstring& name) {
    platform::RegValue old;
    if (platform::Reg().QueryValue(root, path, name, &old) != platform::Result::kOk) return;
    platform::Reg().DeleteValue(root, path, name);
    undo_.push_back([=] { platform::Reg().SetValue(root, path, old); });
  }
  void File(const std::wstring& path, const Bytes& content = {'x'}) {
    platform::Files().WriteFileAtomic(path, content);
    undo_.push_back([=] { platform::Files().DeleteFile(path); });
  }
  // A folder made here (and so removed afterwards) or one that exists.
  void Folder(const std::wstring& path) {
    platform::FileEntry entry;
    if (platform::Files().Stat(path, &entry) == platform::Result::kOk) return;
    platform::Files().CreateFolder(path);
    undo_.push_back([=] { platform::Files().RemoveFolder(path); });
  }

 private:
  // Arranges for the outermost missing key on the way to path to go
  // afterwards; false when the key exists already.
  bool ForgetNewKeys(RegRoot root, const std::wstring& path) {
    if (platform::Reg().KeyExists(root, path) == platform::Result::kOk) return false;
    std::wstring outermost = path;
    for (std::size_t slash = path.find(L'\\'); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1)) {
      if (platform::Reg().KeyExists(root, path.substr(0, slash)) != platform::Result::kOk) {
        outermost = path.substr(0, slash);
        break;
      }
    }
    undo_.push_back([=] { platform::Reg().DeleteKeyTree(root, outermost); });
    return true;
  }

  std::vector<std::function<void()>> undo_;
};

// What one finding is about, for matching planted names: the file, or the
// key and the value.
std::wstring What(const TFigScanedItem& item) {
  if (item.LocationStyle == lsDisk) return UpperCase(CombinePath(item.ScanedPath, item.ScanedName));
  return UpperCase(item.ScanedPath + L"\\" + item.ScanedSection);
}

class ShippedTopics : public ::testing::Test {
 protected:
  ShippedTopics() {
    const std::wstring& reg = scratch_.RegPath();
    unique_ = L"BT" + reg.substr(reg.rfind(L'\\') + 1);
    engine_.SetMinimumScanTime(0);
    engine_.OnTopicMatched = [this](TFigScanedItem& item) { findings_.push_back(item); };
  }

  bool Load() { return engine_.LoadTopics(DatabaseFile()); }

  // Runs the one topic; true when the scan finished.
  bool ScanOnly(const std::wstring& name) {
    findings_.clear();
    engine_.SetAllEnabled(false);
    engine_.SetTopicEnabledByName(name, true);
    engine_.StartScan();
    return loop_.RunUntil([&] { return !engine_.IsRunning(); }, std::chrono::milliseconds(120000));
  }

  bool Found(const std::wstring& needle) const {
    const std::wstring wanted = UpperCase(needle);
    for (const TFigScanedItem& item : findings_)
      if (What(item).find(wanted) != std::wstring::npos) return true;
    return false;
  }

  std::wstring FindingList() const {
    std::wstring list;
    for (const TFigScanedItem& item : findings_) list += What(item) + L"\n";
    return list;
  }

  testing::ScratchSystem scratch_;
  PortableMainLoop loop_;
  TVazArovov engine_{loop_};
  std::vector<TFigScanedItem> findings_;
  std::wstring unique_;
};

// ---------------------------------------------------------------------------
// The database as a whole.

TEST_F(ShippedTopics, DatabaseCoversEveryCategoryRuleStyleAndProfileLevel) {
  ASSERT_TRUE(Load()) << ToUtf8(DatabaseFile());
  ASSERT_GT(engine_.TopicCount(), 0);

  std::set<std::wstring> names;
  std::set<int> categories, styles, usage_levels, network_levels;
  for (int i = 0; i < engine_.TopicCount(); ++i) {
    const TFigTopic& topic = *engine_.GetTopic(i);
    const std::string name = ToUtf8(topic.Name());
    SCOPED_TRACE(name);
    EXPECT_TRUE(names.insert(UpperCase(topic.Name())).second) << "duplicate name";
    for (const wchar_t* key : {L"Rule_Caption", L"Root_Caption", L"LEVEL", L"WORKINGPERCENT", L"ENABLED"})
      EXPECT_FALSE(topic.GetValue(key).empty()) << ToUtf8(key);
    EXPECT_GT(ReadIntegerText(topic.GetValue(L"WORKINGPERCENT"), 0), 0);
    EXPECT_GT(topic.LocationsCount(), 0);
    for (int l = 0; l < topic.LocationsCount(); ++l)
      EXPECT_NE(ParseTopicLocation(topic.GetLocation(l)).style, lsUnknow) << ToUtf8(topic.GetLocation(l));

    categories.insert(topic.Category());
    const std::wstring rule = topic.GetValue(L"Rule");
    const int style = RuleStyleFromName(rule.substr(0, rule.find(L',')));
    EXPECT_GE(style, 0) << ToUtf8(rule);
    styles.insert(style);

    const std::int32_t level = ReadIntegerText(topic.GetValue(L"LEVEL"), -1);
    if (topic.Category() == tcDSystemOptimization) {
      EXPECT_EQ(style, rsRegistryBoostOrFix);
      EXPECT_GT(topic.RegItemsCount(), 0);
      EXPECT_TRUE((level >= 1 && level <= 8) || (level >= 10 && level <= 15)) << level;
      (level < 10 ? usage_levels : network_levels).insert(level);
    } else {
      EXPECT_GE(level, 1);
    }
    // The cure deletes a whole key only where the key is wholly the
    // finding; everywhere else it deletes the one value found.
    const bool whole_keys = !ReadBooleanText(topic.GetValue(L"CHECKVALUES"), false);
    const bool registry = ParseTopicLocation(topic.GetLocation(0)).style == lsRegistry;
    if (registry && whole_keys) {
      EXPECT_TRUE(style == rsActiveX || style == rsUninstall || style == rsAppPaths || style == rsFileType)
          << "deletes whole keys";
    }
  }
  EXPECT_EQ(categories, (std::set<int>{tcARegFix, tcBPrivacySweep, tcCJunkFile, tcDSystemOptimization}));
  for (int style = 0; style <= rsRurudOraziv; ++style)
    EXPECT_TRUE(styles.count(style)) << ToUtf8(NameOf(static_cast<TRuleStyle>(style)));
  EXPECT_EQ(usage_levels, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(network_levels, (std::set<int>{10, 11, 12, 13, 14, 15}));
}

// The constants shipped beside the database switch each scan topic on or
// off by name; a topic without its switch silently never takes part.
TEST_F(ShippedTopics, EveryScanTopicHasItsSwitchAndRecommendationInTheConstants) {
  ASSERT_TRUE(Load()) << ToUtf8(DatabaseFile());
  const Bytes bytes = ReadBytes(SourceFolder(L"..\\..\\data\\const.dat"));
  std::map<std::wstring, std::wstring> constants;  // upper-cased name -> value
  std::wstring text(bytes.begin(), bytes.end());
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find(L'\n', pos);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = Trim(text.substr(pos, end - pos));
    const std::size_t equals = line.find(L'=');
    if (equals != std::wstring::npos && line[0] != L';') {
      constants[UpperCase(line.substr(0, equals))] = line.substr(equals + 1);
    }
    pos = end + 1;
  }
  ASSERT_FALSE(constants.empty());

  std::set<std::wstring> expected;
  for (int i = 0; i < engine_.TopicCount(); ++i) {
    const TFigTopic& topic = *engine_.GetTopic(i);
    const wchar_t* prefix = topic.Category() == tcARegFix         ? L"RegFix."
                            : topic.Category() == tcBPrivacySweep ? L"PrivacySweep."
                            : topic.Category() == tcCJunkFile     ? L"JunkFiles."
                                                                  : nullptr;
    if (!prefix) continue;
    const std::wstring wanted = ReadBooleanText(topic.GetValue(L"ENABLED"), false) ? L"1" : L"0";
    for (const std::wstring& name : {prefix + topic.Name(), L"Recommend." + (prefix + topic.Name())}) {
      SCOPED_TRACE(ToUtf8(name));
      expected.insert(UpperCase(name));
      const auto found = constants.find(UpperCase(name));
      ASSERT_NE(found, constants.end());
      EXPECT_EQ(found->second, wanted) << "the database enables it differently";
    }
  }
  // And no switch names a topic the database no longer has.
  for (const auto& [name, value] : constants) {
    for (const wchar_t* prefix : {L"REGFIX.", L"PRIVACYSWEEP.", L"JUNKFILES."}) {
      const bool is_switch = name.rfind(prefix, 0) == 0 || name.rfind(L"RECOMMEND." + std::wstring(prefix), 0) == 0;
      if (is_switch) {
        EXPECT_TRUE(expected.count(name)) << ToUtf8(name) << " names no topic";
      }
    }
  }
}

// ---------------------------------------------------------------------------
// One planted problem and one healthy entry per topic.

struct Case {
  const wchar_t* topic;
  const char* label;
  // Plants both; answers the problem's and the healthy entry's names as
  // What() shows them (empty healthy: the topic reports everything it sees).
  std::function<std::pair<std::wstring, std::wstring>(Planter&, const std::wstring& u, const testing::ScratchSystem& s)>
      plant;
};

std::wstring Under(const std::wstring& key, const std::wstring& sub) { return key + L"\\" + sub; }

// A history list: every value in the list is found; the same name in the
// key above it is not.
Case HistoryCase(const wchar_t* topic, const std::wstring& list_key, const std::wstring& parent_key) {
  return {topic, "history value", [=](Planter& p, const std::wstring& u, const testing::ScratchSystem&) {
            p.String(RegRoot::kCurrentUser, list_key, u, L"C:\\Users\\me\\secret.txt");
            p.String(RegRoot::kCurrentUser, parent_key, u, L"kept");
            return std::pair{list_key + L"\\" + u, parent_key + L"\\" + u};
          }};
}

// A junk folder: a planted file is found; desktop.ini (excepted) in a
// planted subfolder is not.
Case JunkCase(const wchar_t* topic, std::function<std::wstring()> folder_of, const std::wstring& extension,
              const std::wstring& healthy_name) {
  return {topic, "junk file", [=](Planter& p, const std::wstring& u, const testing::ScratchSystem&) {
            const std::wstring folder = AddTrailingBackslash(folder_of());
            p.Folder(folder);
            p.Folder(folder + u + L"-sub");
            p.File(folder + u + extension);
            p.File(folder + u + L"-sub\\" + healthy_name);
            return std::pair{folder + u + extension, folder + u + L"-sub\\" + healthy_name};
          }};
}

// Two shortcuts (files saved by the shell): one to a missing program, one to
// the Windows folder's notepad.exe.
Case ShortcutCase(const wchar_t* topic, const wchar_t* shell_folder, bool in_subfolder) {
  return {topic, "shortcut", [=](Planter& p, const std::wstring& u, const testing::ScratchSystem&) {
            std::wstring folder = GetShellFolder(shell_folder);
            // Wine links the user's desktop to the host's, and the scan never
            // walks through a link; the all-users desktop is a plain folder.
            platform::FileEntry link;
            if (platform::Files().Stat(folder, &link) == platform::Result::kOk && link.IsReparsePoint())
              folder = GetShellFolder(L"Common " + std::wstring(shell_folder));
            folder = AddTrailingBackslash(folder);
            p.Folder(folder);
            if (in_subfolder) p.Folder(folder += u + L" Tools\\");
            const std::wstring notepad = CombinePath(GetWindowsDir(), L"notepad.exe");
            platform::FileEntry entry;
            if (platform::Files().Stat(notepad, &entry) != platform::Result::kOk) p.File(notepad);
            p.File(folder + u + L" gone.lnk", ReadBytes(SourceFolder(L"..\\platform\\data\\links\\missing-target.lnk")));
            p.File(folder + u + L" notepad.lnk", ReadBytes(SourceFolder(L"..\\platform\\data\\links\\local-file.lnk")));
            return std::pair{folder + u + L" gone.lnk", folder + u + L" notepad.lnk"};
          }};
}

std::vector<Case> Cases() {
  const std::wstring cv = kCurrentVersion;
  const std::wstring uninstall = cv + L"\\Uninstall";
  const std::wstring app_paths = cv + L"\\App Paths";
  const std::wstring explorer = kExplorer;
  const std::wstring nt = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  auto windows_sub = [](const wchar_t* sub) { return [=] { return CombinePath(GetWindowsDir(), sub); }; };
  return {
      {L"ActiveX", "empty class key",
       [](Planter& p, const std::wstring& u, const testing::ScratchSystem&) {
         p.Key(RegRoot::kClassesRoot, L"CLSID\\{" + u + L"-EMPTY}");
         p.String(RegRoot::kClassesRoot, L"CLSID\\{" + u + L"-OK}", L"", L"Healthy class");
         p.String(RegRoot::kClassesRoot, L"CLSID\\{" + u + L"-OK}\\InprocServer32", L"", L"ole32.dll");
         return std::pair{L"CLSID\\{" + u + L"-EMPTY}", L"CLSID\\{" + u + L"-OK}"};
       }},
      {L"ActiveX", "missing type library",
       [](Planter& p, const std::wstring& u, const testing::ScratchSystem&) {
         const std::wstring lost = L"CLSID\\{" + u + L"-LOST}";
         const std::wstring ok = L"CLSID\\{" + u + L"-OK}";
         p.String(RegRoot::kClassesRoot, lost, L"", L"Lost class");
         p.String(RegRoot::kClassesRoot, lost + L"\\TypeLib", L"", L"{" + u + L"-NOLIB}");
         p.String(RegRoot::kClassesRoot, ok, L"", L"Healthy class");
         p.String(RegRoot::kClassesRoot, ok + L"\\TypeLib", L"", L"{" + u + L"-LIB}");
         p.String(RegRoot::kClassesRoot, L"TypeLib\\{" + u + L"-LIB}\\1.0", L"", L"Library");
         return std::pair{lost, ok};
       }},
      {L"Uninstall", "uninstaller and source gone",
       [=](Planter& p, const std::wstring& u, const testing::ScratchSystem& s) {
         const std::wstring folder = s.Folder();
         p.Folder(folder + L"kept");
         p.File(folder + L"kept\\uninstall.cmd");
         p.String(RegRoot::kLocalMachine, Under(uninstall, u + L"Gone"), L"DisplayName", L"Gone Program");
         p.String(RegRoot::kLocalMachine, Under(uninstall, u + L"Gone"), L"UninstallString",
                  L"C:\\Program Files\\" + u + L"\\uninstall.cmd");
         p.String(RegRoot::kLocalMachine, Under(uninstall, u + L"Kept"), L"DisplayName", L"Kept Program");
         p.String(RegRoot::kLocalMachine, Under(uninstall, u + L"Kept"), L"UninstallString",
                  folder + L"kept\\uninstall.cmd");
         return std::pair{Under(uninstall, u + L"Gone"), Under(uninstall, u + L"Kept")};
       }},
      {L"AppPaths", "program gone",
       [=](Planter& p, const std::wstring& u, const testing::ScratchSystem& s) {
         const std::wstring folder = s.Folder();
         p.File(folder + u + L"ok.exe");
         p.String(RegRoot::kLocalMachine, Under(app_paths, u + L"gone.exe"), L"", L"C:\\Program Files\\" + u + L"\\gone.exe");
         p.String(RegRoot::kLocalMachine, Under(app_paths, u + L"ok.exe"), L"", folder + u + L"ok.exe");
         return std::pair{Under(app_paths, u + L"gone.exe"), Under(app_paths, u + L"ok.exe")};
       }},
      {L"Fonts", "font file gone",
       [=](Planter& p, const std::wstring& u, const testing::ScratchSystem& s) {
         const std::wstring folder = s.Folder();
         const std::wstring fonts = nt + L"\\Fonts";
         p.File(folder + u + L"ok.ttf");
         p.String(RegRoot::kLocalMachine, fonts, u + L" Gone (TrueType)", u + L"gone.ttf");
         p.String(RegRoot::kLocalMachine, fonts, u + L" Ok (TrueType)", folder + u + L"ok.ttf");
         return std::pair{fonts + L"\\" + u + L" Gone", fonts + L"\\" + u + L" Ok"};
       }},
      {L"SharedDlls", "library gone",
       [=](Planter& p, const std::wstring& u, const testing::ScratchSystem& s) {
         const std::wstring folder = s.Folder();
         const std::wstring key = cv + L"\\SharedDLLs";
         p.File(folder + u + L"used.dll");
         p.Value(RegRoot::kLocalMachine, key, platform::MakeDwordValue(folder + u + L"gone.dll", 1));
         p.Value(RegRoot::kLocalMachine, key, platform::MakeDwordValue(folder + u + L"used.dll", 2));
         return std::pair{u + L"gone.dll", u + L"used.dll"};
       }},
      {L"SharedDlls", "library no longer counted",
       [=](Planter& p, const std::wstring& u, const testing::ScratchSystem& s) {
         const std::wstring folder = s.Folder();
         const std::wstring key = cv + L"\\SharedDLLs";
         p.File(folder + u + L"unused.dll");
         p.File(folder + u + L"used.dll");
         p.Value(RegRoot::kLocalMachine, key, platform::MakeDwordValue(folder + u + L"unused.dll", 0));
         p.Value(RegRoot::kLocalMachine, key, platform::MakeDwordValue(folder + u + L"used.dll", 1));
         return std::pair{u + L"unused.dll", u + L"used.dll"};
       }},
      {L"HelpFiles", "help file gone",
       [](Planter& p, const std::wstring& u, const testing::ScratchSystem& s) {
         const std::wstring folder = s.Folder();
         const std::wstring key = L"SOFTWARE\\Microsoft\\Windows\\Help";
         p.File(folder + u + L"ok.hlp");
         p.String(RegRoot::kLocalMachine, key, u + L"gone.hlp", folder);
         p.String(RegRoot::kLocalMachine, key, u + L"ok.hlp", folder);
         return std::pair{key + L"\\" + u + L"gone.hlp", key + L"\\" + u + L"ok.hlp"};
       }},
      {L"Drivers", "codec file gone",
       [=](Planter& p, const std::wstring& u, const testing::ScratchSystem& s) {
         const std::wstring folder = s.Folder();
         const std::wstring key = nt + L"\\Drivers32";
         p.File(folder + u + L"ok.acm");
         p.String(RegRoot::kLocalMachine, key, L"msacm." + u + L"gone", u + L"gone.acm");
         p.String(RegRoot::kLocalMachine, key, L"msacm." + u + L"ok", folder + u + L"ok.acm");
         return std::pair{key + L"\\msacm." + u + L"gone", key + L"\\msacm." + u + L"ok"};
       }},
      ShortcutCase(L"DesktopShortcuts", L"Desktop", false),
      ShortcutCase(L"StartMenuShortcuts", L"Programs", true),
      {L"Startup", "program gone",
       [=](Planter& p, const std::wstring& u, const testing::ScratchSystem& s) {
         const std::wstring folder = s.Folder();
         const std::wstring run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
         p.File(folder + u + L"tray.exe");
         p.String(RegRoot::kCurrentUser, run, u + L"Gone", L"\"C:\\Program Files\\" + u + L"\\tray.exe\" /background");
         p.String(RegRoot::kCurrentUser, run, u + L"Ok", L"\"" + folder + u + L"tray.exe\" /background");
         return std::pair{run + L"\\" + u + L"Gone", run + L"\\" + u + L"Ok"};
       }},
      {L"FileTypes", "no program to open with",
       [=](Planter& p, const std::wstring& u, const testing::ScratchSystem&) {
         const std::wstring exts = explorer + L"\\FileExts";
         p.Key(RegRoot::kCurrentUser, Under(exts, L"." + u + L"gone"));
         p.String(RegRoot::kCurrentUser, Under(exts, L"." + u + L"ok\\OpenWithList"), L"a", L"notepad.exe");
         return std::pair{Under(exts, L"." + u + L"gone\\"), Under(exts, L"." + u + L"ok\\")};
       }},
      {L"EmptyKeys", "placeholder value",
       [](Planter& p, const std::wstring&, const testing::ScratchSystem& s) {
         // Walked three levels below HKEY_CURRENT_USER\Software, where the
         // scratch key is.
         p.String(s.RegRoot(), s.RegPath(), L"Placeholder", L"@Empty");
         p.String(s.RegRoot(), s.RegPath(), L"Setting", L"on");
         return std::pair{s.RegPath() + L"\\Placeholder", s.RegPath() + L"\\Setting"};
       }},
      HistoryCase(L"RunHistory", explorer + L"\\RunMRU", explorer),
      HistoryCase(L"TypedPaths", explorer + L"\\TypedPaths", explorer),
      HistoryCase(L"TypedURLs", L"Software\\Microsoft\\Internet Explorer\\TypedURLs",
                  L"Software\\Microsoft\\Internet Explorer"),
      HistoryCase(L"RecentDocs", explorer + L"\\RecentDocs\\.txt", explorer),
      HistoryCase(L"OpenSaveHistory", explorer + L"\\ComDlg32\\OpenSavePidlMRU\\txt", explorer + L"\\ComDlg32"),
      HistoryCase(L"OpenSaveHistory", explorer + L"\\ComDlg32\\LastVisitedMRU", explorer + L"\\ComDlg32"),
      HistoryCase(L"UserAssist", explorer + L"\\UserAssist\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\\Count",
                  explorer + L"\\UserAssist\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}"),
      JunkCase(L"RecentShortcuts", [] { return GetShellFolder(L"Recent"); }, L" report.doc.lnk", L"desktop.ini"),
      {L"SweepHelper", "helper entry",
       [](Planter&, const std::wstring&, const testing::ScratchSystem&) {
         return std::pair{std::wstring(L"rurudoraziv.exe"), std::wstring()};
       }},
      JunkCase(L"UserTemp", [] { return GetTempDir(); }, L".tmp", L"desktop.ini"),
      JunkCase(L"WindowsTemp", windows_sub(L"Temp"), L".tmp", L"desktop.ini"),
      JunkCase(L"DebugLogs", windows_sub(L"Debug"), L"setup.log", L"notes.txt"),
      JunkCase(L"BrowserCache", [] { return GetShellFolder(L"Cache"); }, L"logo.png", L"index.dat"),
      JunkCase(L"Cookies", [] { return GetShellFolder(L"Cookies"); }, L"@example.txt", L"index.dat"),
  };
}

TEST_F(ShippedTopics, EveryTopicFindsItsProblemAndLeavesHealthyEntriesAlone) {
  ASSERT_TRUE(Load());
  const std::vector<Case> cases = Cases();
  std::set<std::wstring> covered;
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.topic) + ": " + c.label);
    ASSERT_NE(engine_.GetTopicByName(c.topic), nullptr);
    covered.insert(UpperCase(c.topic));
    Planter planter;
    const auto [problem, healthy] = c.plant(planter, unique_, scratch_);
    ASSERT_TRUE(ScanOnly(c.topic));
    EXPECT_TRUE(Found(problem)) << "missed " << ToUtf8(problem) << "\nfound:\n" << ToUtf8(FindingList());
    if (!healthy.empty()) {
      EXPECT_FALSE(Found(healthy)) << "reported " << ToUtf8(healthy);
    }
  }
  // A topic added to the database needs its case here.
  for (int i = 0; i < engine_.TopicCount(); ++i) {
    const TFigTopic& topic = *engine_.GetTopic(i);
    if (topic.Category() != tcDSystemOptimization) {
      EXPECT_TRUE(covered.count(UpperCase(topic.Name()))) << ToUtf8(topic.Name()) << " has no case";
    }
  }
}

// ---------------------------------------------------------------------------
// Optimisation topics, straight from their registry items: a value that
// differs is found, the wanted value is not. The live values come back.

// Writes a registry item line's wanted data; false for a form not used here.
bool WriteWanted(Planter& p, RegRoot root, const std::wstring& key, const std::wstring& line) {
  const std::size_t equals = line.find(L'=');
  std::wstring name = line.substr(0, equals);
  if (name.size() >= 2 && name.front() == L'"') name = name.substr(1, name.size() - 2);
  const std::wstring data = line.substr(equals + 1);
  if (data.rfind(L"dword:", 0) == 0) {
    p.Value(root, key, platform::MakeDwordValue(name, static_cast<std::uint32_t>(std::wcstoul(data.c_str() + 6, nullptr, 16))));
    return true;
  }
  if (data.size() >= 2 && data.front() == L'"' && data.back() == L'"') {
    p.String(root, key, name, data.substr(1, data.size() - 2));
    return true;
  }
  return false;
}

TEST_F(ShippedTopics, OptimisationTopicsFindOnlyValuesThatDifferFromTheWantedOnes) {
  ASSERT_TRUE(Load());
  for (int i = 0; i < engine_.TopicCount(); ++i) {
    const TFigTopic topic = *engine_.GetTopic(i);
    if (topic.Category() != tcDSystemOptimization) continue;
    SCOPED_TRACE(ToUtf8(topic.Name()));
    const TopicLocation location = ParseTopicLocation(topic.GetLocation(0));
    ASSERT_EQ(location.style, lsRegistryItem);
    const std::wstring& key = location.path;
    const RegRoot root = SameText(location.root, L"HKEY_CURRENT_USER") ? RegRoot::kCurrentUser : RegRoot::kLocalMachine;

    {
      Planter wanted;
      for (const std::wstring& line : topic.RegItem()) ASSERT_TRUE(WriteWanted(wanted, root, key, line)) << ToUtf8(line);
      ASSERT_TRUE(ScanOnly(topic.Name()));
      EXPECT_TRUE(findings_.empty()) << ToUtf8(FindingList());
    }
    {
      Planter differs;
      for (const std::wstring& line : topic.RegItem()) {
        std::wstring name = line.substr(0, line.find(L'='));
        name = name.substr(1, name.size() - 2);
        differs.NoValue(root, key, name);
      }
      ASSERT_TRUE(ScanOnly(topic.Name()));
      EXPECT_EQ(findings_.size(), topic.RegItem().size()) << ToUtf8(FindingList());
    }
  }
}

}  // namespace
}  // namespace brimlow::scan
