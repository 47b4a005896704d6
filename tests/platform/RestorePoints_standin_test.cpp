#include "platform/RestorePoints.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Text.h"
#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow::platform {
namespace {

std::string Log() {
  Bytes bytes;
  Files().ReadFile(L"C:\\System Volume Information\\restore-points.log", &bytes);
  return std::string(bytes.begin(), bytes.end());
}

TEST(StandinRestorePointsTest, PointsAreNumberedAndLoggedInTheImage) {
  testing::ScratchSystem scratch;
  RestorePoints& points = DefaultRestorePoints();
  std::int64_t first = 0, second = 0;
  ASSERT_EQ(points.BeginRestorePoint(L"One\tpoint", &first), 0u);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(points.EndRestorePoint(first), 0u);
  // Only the first 128 characters of a description are kept.
  ASSERT_EQ(points.BeginRestorePoint(std::wstring(130, L'x'), &second), 0u);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(Log(), "1\tbegin\t0\tOne point\n1\tend\t0\t\n2\tbegin\t0\t" + std::string(128, 'x') + "\n");

  // Ending a point twice, or one never begun, fails.
  EXPECT_NE(points.EndRestorePoint(first), 0u);
  EXPECT_NE(points.EndRestorePoint(7), 0u);
  EXPECT_TRUE(CreateRestorePoint(L"Three"));
  EXPECT_NE(Log().find("3\tend"), std::string::npos);
  EXPECT_EQ(CheckSystemRestoreClient(SystemClientLibrary()), ClientCheck::kPresent);
}

// Records what would be started instead of starting it.
class RecordingProcesses : public Processes {
 public:
  std::vector<StartInfo> started;
  bool Start(const StartInfo& info) override {
    started.push_back(info);
    return true;
  }
  bool ShellExecute(const std::wstring&, const std::wstring&, const std::wstring&, std::wstring*) override {
    return false;
  }
  bool CreateInstanceMutex(const std::wstring&) override { return true; }
};

TEST(SystemRestoreProgramTest, StartsRstruiFromTheSystemFolder) {
  testing::ScratchSystem scratch;
  RecordingProcesses processes;
  Platform recording = Current();
  recording.processes = &processes;
  ScopedPlatform scope(recording);

  EXPECT_EQ(StartSystemRestoreProgram(), ProgramStart::kMissing);
  const std::wstring system = Env().WindowsFolder() + L"\\System32\\";
  Files().CreateFolder(system + L"restore");
  Files().WriteFileAtomic(system + L"rstrui.exe", Bytes{1});
  ASSERT_EQ(StartSystemRestoreProgram(), ProgramStart::kStarted);
  EXPECT_EQ(processes.started.back().application, system + L"rstrui.exe");
  // The one in "restore" wins when it is there.
  Files().WriteFileAtomic(system + L"restore\\rstrui.exe", Bytes{1});
  ASSERT_EQ(StartSystemRestoreProgram(), ProgramStart::kStarted);
  const StartInfo& info = processes.started.back();
  EXPECT_EQ(info.application, system + L"restore\\rstrui.exe");
  EXPECT_EQ(info.working_folder, system + L"restore\\");
  EXPECT_FALSE(info.hidden);
  EXPECT_FALSE(info.wait);
}

}  // namespace
}  // namespace brimlow::platform
