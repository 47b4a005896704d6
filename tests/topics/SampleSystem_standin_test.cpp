// The sample system under examples/: a scan with every shipped topic finds
// each planted problem, and nothing else outside the optimisation topics.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "base/PortableMainLoop.h"
#include "base/Text.h"
#include "framework/utils/Paths.h"
#include "platform/Platform.h"
#include "platform/standin/DriveMap.h"
#include "platform/standin/StandinPlatform.h"
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

TEST(SampleSystem, ScanFindsEveryPlantedProblemAndNothingElse) {
  testing::HostTempDir temp;
  const fs::path image = temp.path() / "system";
  fs::copy(SourceDir() / "examples" / "sample-system", image, fs::copy_options::recursive);
  platform::standin::StandinPlatform system;
  std::wstring error;
  ASSERT_TRUE(system.Open(image, &error)) << ToUtf8(error);
  platform::ScopedPlatform scope(system.platform());

  PortableMainLoop loop;
  TVazArovov engine(loop);
  engine.SetMinimumScanTime(0);
  ASSERT_TRUE(engine.LoadTopics(platform::standin::DriveMap::WindowsPath(SourceDir() / "data" / "topic.db")));
  engine.SetAllEnabled(true);
  std::multiset<std::string> found;
  engine.OnTopicMatched = [&](TFigScanedItem& item) {
    if (item.Category != tcDSystemOptimization) found.insert(Describe(item));
  };
  engine.StartScan();
  ASSERT_TRUE(loop.RunUntil([&] { return !engine.IsRunning(); }, std::chrono::milliseconds(60000)));

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

}  // namespace
}  // namespace brimlow::scan
