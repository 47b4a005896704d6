#include "platform/standin/StandinProcesses.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "base/Text.h"
#include "support/HostTempDir.h"

namespace brimlow::platform::standin {
namespace {

using Args = std::vector<std::wstring>;

TEST(SplitCommandLineTest, SplitsByThePlatformRules) {
  const struct {
    const wchar_t* line;
    Args args;
  } cases[] = {
      {L"prog a b", {L"prog", L"a", L"b"}},
      {L"  prog", {L"", L"prog"}},  // a leading blank ends an empty program name
      {L"\"C:\\Program Files\\x.exe\" /s", {L"C:\\Program Files\\x.exe", L"/s"}},
      {L"C:\\dir\\\"x\" a", {L"C:\\dir\\\"x\"", L"a"}},  // the program name takes no escapes
      {L"p \"a b\"  c\td", {L"p", L"a b", L"c", L"d"}},
      {L"p a\\\\b \\\\\"c d\"", {L"p", L"a\\\\b", L"\\c d"}},
      {L"p \\\"x\\\"", {L"p", L"\"x\""}},
      {L"p a\\\\\\\"b", {L"p", L"a\\\"b"}},
      {L"p \"\"", {L"p", L""}},
      {L"p \"a\"\"b\"", {L"p", L"a\"b"}},
      {L"p ab\"c d\"e f", {L"p", L"abc de", L"f"}},
      {L"p \"unclosed arg", {L"p", L"unclosed arg"}},
      {L"\"unclosed prog", {L"unclosed prog"}},
      {L"", {L""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << ToUtf8(c.line);
}

class StandinProcessesTest : public ::testing::Test {
 protected:
  // The image's drives must exist before the map is made.
  static std::filesystem::path WithDriveC(const testing::HostTempDir& dir) {
    dir.Write("drive_c/Work/.keep", "");
    return dir.path();
  }
  std::filesystem::path Host(const std::string& relative) const { return dir_.path() / "drive_c" / relative; }

  testing::HostTempDir dir_;
  DriveMap drives_{WithDriveC(dir_)};
  StandinProcesses processes_{drives_};
};

TEST_F(StandinProcessesTest, StartsWaitsAndPassesArguments) {
  StartInfo info;
  info.command_line = L"sh -c \"printf '%s|%s' \\\"$1\\\" \\\"$2\\\" > out.txt\" sh \"two words\" x\\\"y";
  info.working_folder = L"C:\\WORK";
  info.wait = true;
  ASSERT_TRUE(processes_.Start(info));
  std::ifstream in(Host("Work/out.txt"));
  std::string out;
  std::getline(in, out);
  EXPECT_EQ(out, "two words|x\"y");
}

TEST_F(StandinProcessesTest, RunsAProgramNamedByItsWindowsPath) {
  dir_.Write("drive_c/Tools/Touch.sh", "#!/bin/sh\necho ran > \"$1\"\n");
  std::filesystem::permissions(Host("Tools/Touch.sh"), std::filesystem::perms::owner_all);
  StartInfo info;
  info.application = L"C:\\tools\\TOUCH.SH";
  info.command_line = L"touch.sh \"" + FromUtf8(Host("Work/ran.txt").string()) + L"\"";
  info.wait = true;
  info.timeout_ms = 10000;
  ASSERT_TRUE(processes_.Start(info));
  EXPECT_TRUE(std::filesystem::exists(Host("Work/ran.txt")));
}

TEST_F(StandinProcessesTest, StopsWaitingAtTheTimeOut) {
  StartInfo info;
  info.command_line = L"sleep 5";
  info.wait = true;
  info.timeout_ms = 100;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(processes_.Start(info));  // started, even though still running
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST_F(StandinProcessesTest, ReportsWhatCannotStart) {
  const struct {
    const wchar_t* application;
    const wchar_t* command_line;
    const wchar_t* folder;
  } cases[] = {
      {L"", L"no-such-program-brimlow", L""},
      {L"C:\\Work\\missing.exe", L"missing.exe", L""},
      {L"Q:\\unknown\\drive.exe", L"drive.exe", L""},
      {L"", L"", L""},
      {L"", L"true", L"C:\\no\\such\\folder"},
  };
  for (const auto& c : cases) {
    StartInfo info;
    info.application = c.application;
    info.command_line = c.command_line;
    info.working_folder = c.folder;
    info.wait = true;
    EXPECT_FALSE(processes_.Start(info)) << ToUtf8(c.command_line);
  }
}

TEST_F(StandinProcessesTest, ShellExecuteRefusesWhatTheHostCannotDo) {
  std::wstring error;
  EXPECT_FALSE(processes_.ShellExecute(L"runas", L"C:\\Work\\x.exe", L"", &error));
  EXPECT_EQ(error, L"not available on this platform");
  error.clear();
  EXPECT_FALSE(processes_.ShellExecute(L"print", L"C:\\Work\\x.txt", L"", &error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(processes_.ShellExecute(L"open", L"C:\\Work\\missing.txt", L"", &error));
  EXPECT_FALSE(error.empty());
}

TEST(InstanceMutexTest, ASecondCreateOfTheSameNameFails) {
  const DriveMap drives;
  StandinProcesses processes{drives};
  const std::wstring name = L"Global\\BrimlowTest-" + std::to_wstring(::getpid()) + L"/../x";
  EXPECT_TRUE(processes.CreateInstanceMutex(name));
  EXPECT_FALSE(processes.CreateInstanceMutex(name));
  EXPECT_TRUE(processes.CreateInstanceMutex(name + L"-other"));
}

}  // namespace
}  // namespace brimlow::platform::standin
