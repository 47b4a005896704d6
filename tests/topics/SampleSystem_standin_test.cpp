// The sample system under examples/: a scan with every shipped topic finds
// each planted problem, and nothing else outside the optimisation topics; a
// cure of everything found is undone in the registry by its backup.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "base/PortableMainLoop.h"
#include "base/Text.h"
#include "cure/FigCure.h"
#include "cure/RegUtils.h"
#include "framework/utils/Paths.h"
#include "platform/Platform.h"
#include "platform/standin/DriveMap.h"
#include "platform/standin/StandinPlatform.h"
#include "regfile/RegFile.h"
#include "scan/VazArovov.h"
#include "support/HostTempDir.h"

namespace brimlow::scan {
namespace {

namespace fs = std::filesystem;

fs::path SourceDir() {
  const char* data = std::getenv("BRIMLOW_TEST_DATA");
  return fs::path(data ? data : ".") / ".." / "..";
}

// A finding as "topic: file" or "topic: key\value".
std::string Describe(const TFigScanedItem& item) {
  std::wstring what = item.LocationStyle == lsDisk ? CombinePath(item.ScanedPath, item.ScanedName)
                                                   : item.ScanedPath + L"\\" + item.ScanedSection;
  return ToUtf8(item.TopicName + L": " + what);
}

// A throw-away copy of the sample system as the current platform, and the
// scan engine with every shipped topic switched on.
class SampleSystem : public ::testing::Test {
 protected:
  SampleSystem() {
    fs::copy(SourceDir() / "examples" / "sample-system", image_, fs::copy_options::recursive);
    engine_.SetMinimumScanTime(0);
  }

  void SetUp() override {
    std::wstring error;
    ASSERT_TRUE(system_.Open(image_, &error)) << ToUtf8(error);
    scope_.emplace(system_.platform());
    ASSERT_TRUE(engine_.LoadTopics(platform::standin::DriveMap::WindowsPath(SourceDir() / "data" / "topic.db")));
    engine_.SetAllEnabled(true);
  }

  bool Scan() {
    engine_.StartScan();
    return loop_.RunUntil([&] { return !engine_.IsRunning(); }, std::chrono::milliseconds(60000));
  }

  testing::HostTempDir temp_;
  const fs::path image_ = temp_.path() / "system";
  platform::standin::StandinPlatform system_;
  std::optional<platform::ScopedPlatform> scope_;
  PortableMainLoop loop_;
  TVazArovov engine_{loop_};
};

TEST_F(SampleSystem, ScanFindsEveryPlantedProblemAndNothingElse) {
  std::multiset<std::string> found;
  engine_.OnTopicMatched = [&](TFigScanedItem& item) {
    if (item.Category != tcDSystemOptimization) found.insert(Describe(item));
  };
  ASSERT_TRUE(Scan());

  const std::string user = "C:\\users\\sample\\";
  const std::string temp_folder = user + "AppData\\Local\\Temp\\";
  const std::string explorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
  const std::multiset<std::string> expected = {
      "ActiveX: CLSID\\{6F1B2C3D-4E5A-4B6C-8D7E-9F0A1B2C3D4E}\\",
      "Uninstall: SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrbitNotes\\DisplayName",
      "AppPaths: SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\orbitnotes.exe\\",
      "Fonts: SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts\\Orbit Sans (TrueType)",
      "SharedDlls: SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\"
      "C:\\Program Files\\Common Files\\Orbit\\orbitcore.dll",
      "DesktopShortcuts: " + user + "Desktop\\Orbit Notes.lnk",
      "StartMenuShortcuts: " + user + "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Orbit Notes\\"
                                      "Orbit Notes.lnk",
      "Startup: Software\\Microsoft\\Windows\\CurrentVersion\\Run\\OrbitNotesTray",
      "Startup: SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\QuickLaunchHelper",
      "RunHistory: " + explorer + "RunMRU\\a",
      "RunHistory: " + explorer + "RunMRU\\b",
      "RunHistory: " + explorer + "RunMRU\\MRUList",
      "TypedPaths: " + explorer + "TypedPaths\\url1",
      "TypedURLs: Software\\Microsoft\\Internet Explorer\\TypedURLs\\url1",
      "RecentDocs: " + explorer + "RecentDocs\\MRUListEx",
      "RecentDocs: " + explorer + "RecentDocs\\0",
      // A list key without values of its own counts as one item.
      "OpenSaveHistory: " + explorer + "ComDlg32\\OpenSavePidlMRU\\",
      "OpenSaveHistory: " + explorer + "ComDlg32\\OpenSavePidlMRU\\txt\\MRUListEx",
      "OpenSaveHistory: " + explorer + "ComDlg32\\OpenSavePidlMRU\\txt\\0",
      "UserAssist: " + explorer + "UserAssist\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\\Count\\HRZR_PGYFRFFVBA",
      "RecentShortcuts: " + user + "AppData\\Roaming\\Microsoft\\Windows\\Recent\\notes.txt.lnk",
      "UserTemp: " + temp_folder + "~DF3A1C.tmp",
      "UserTemp: " + temp_folder + "orbit-setup.log",
      "WindowsTemp: C:\\windows\\Temp\\cab_4120_1.tmp",
      "DebugLogs: C:\\windows\\Debug\\netsetup.log",
      "BrowserCache: " + user + "AppData\\Local\\Microsoft\\Windows\\INetCache\\banner[1].gif",
  };
  std::multiset<std::string> sweep;
  for (auto it = found.begin(); it != found.end();) {
    if (it->rfind("SweepHelper: ", 0) == 0) {
      sweep.insert(*it);
      it = found.erase(it);
    } else {
      ++it;
    }
  }
  EXPECT_EQ(sweep.size(), 1u);  // always reported: the helper does the looking
  std::string missed, extra;
  for (const std::string& f : expected)
    if (!found.count(f)) missed += "  " + f + "\n";
  for (const std::string& f : found)
    if (!expected.count(f)) extra += "  " + f + "\n";
  EXPECT_TRUE(missed.empty()) << "missed:\n" << missed;
  EXPECT_TRUE(extra.empty()) << "not planted:\n" << extra;
}

// The registry's content without its order: one entry per key and per
// value line, continuation lines joined. Restoring puts values back, not
// necessarily in their old enumeration order.
std::multiset<std::wstring> RegistryContent() {
  std::multiset<std::wstring> content;
  for (auto root : {platform::RegRoot::kClassesRoot, platform::RegRoot::kCurrentUser,
                    platform::RegRoot::kLocalMachine, platform::RegRoot::kUsers}) {
    regfile::RegFileWriter writer;
    regfile::ExportKeyTree(platform::Reg(), root, L"", &writer);
    const std::wstring text = writer.SectionsText();
    std::wstring section, line;
    for (std::size_t pos = 0; pos < text.size();) {
      std::size_t end = text.find(L"\r\n", pos);
      if (end == std::wstring::npos) end = text.size();
      line += Trim(text.substr(pos, end - pos));
      pos = end + 2;
      if (!line.empty() && line.back() == L'\\') {
        line.pop_back();
        continue;
      }
      if (!line.empty() && line[0] == L'[') section = line;
      if (!line.empty()) content.insert(line[0] == L'[' ? line : section + L" " + line);
      line.clear();
    }
  }
  return content;
}

TEST_F(SampleSystem, TheBackupOfACureOfEverythingRestoresTheRegistry) {
  const std::multiset<std::wstring> before = RegistryContent();
  ASSERT_GT(before.size(), 100u);
  cure::TFigCure cure(loop_);
  const fs::path backup = temp_.path() / "backup";
  fs::create_directories(backup);
  cure.SetBackupPath(platform::standin::DriveMap::WindowsPath(backup));
  cure.SetCureDuration(0);
  // Everything but the sweep helper, which would start a program.
  engine_.OnTopicMatched = [&](TFigScanedItem& item) {
    if (item.RuleStyle == rsRurudOraziv) return;
    TFigScanedItem checked = item;
    checked.Checked = true;
    cure.AddMatchedItem(checked);
  };
  ASSERT_TRUE(Scan());
  ASSERT_GT(cure.ItemCount(), 20);
  ASSERT_TRUE(cure.StartCure());
  ASSERT_TRUE(loop_.RunUntil([&] { return !cure.IsRunning(); }, std::chrono::milliseconds(60000)));
  ASSERT_NE(RegistryContent(), before);

  ASSERT_TRUE(cure::ImportRegFile(cure.LastBackupFile()));
  const std::multiset<std::wstring> after = RegistryContent();
  std::wstring lost, added;
  for (const std::wstring& entry : before)
    if (!after.count(entry)) lost += L"  " + entry + L"\n";
  // Keys the optimisation merge created stay, empty: by the time a backup
  // is restored they may hold something else, so it deletes only values.
  for (const std::wstring& entry : after)
    if (!before.count(entry) && entry.back() != L']') added += L"  " + entry + L"\n";
  EXPECT_TRUE(lost.empty()) << "not restored:\n" << ToUtf8(lost);
  EXPECT_TRUE(added.empty()) << "left behind:\n" << ToUtf8(added);
}

}  // namespace
}  // namespace brimlow::scan
