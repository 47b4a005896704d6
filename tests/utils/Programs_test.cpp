// Process starters against a recording fake: what command line, folder and
// options reach the platform.
#include "framework/utils/Programs.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"

namespace brimlow {
namespace {

using platform::MakeStringValue;
using platform::RegRoot;

class ProgramsTest : public ::testing::Test {
 protected:
  ProgramsTest() { fake_.environment.app_file_name = L"C:\\App\\brimlow.exe"; }
  const platform::StartInfo& Last() { return fake_.processes.started.back(); }
  testing::FakePlatform fake_;
};

TEST_F(ProgramsTest, RunProgram) {
  struct Case {
    const wchar_t* file;
    const wchar_t* command_line;
    const wchar_t* folder;
  } cases[] = {
      {L"regedit.exe", L"\"C:\\App\\regedit.exe\" /s x.reg", L"C:\\App\\"},
      {L"C:\\Windows\\regedit.exe", L"\"C:\\Windows\\regedit.exe\" /s x.reg", L"C:\\Windows\\"},
      {L"\\Tools\\t.exe", L"\"C:\\Tools\\t.exe\" /s x.reg", L"C:\\Tools\\"},
      {L"", L"/s x.reg", L""},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(RunProgram(c.file, L"/s x.reg", true, false, 100));
    EXPECT_EQ(Last().command_line, c.command_line) << ToUtf8(c.file);
    EXPECT_EQ(Last().working_folder, c.folder) << ToUtf8(c.file);
    EXPECT_EQ(Last().application, L"");
    EXPECT_FALSE(Last().inherit_handles);
    EXPECT_TRUE(Last().hidden);
    EXPECT_FALSE(Last().wait);
  }
  EXPECT_TRUE(RunProgramAndWait(L"regedit.exe", L"/s x.reg", true, 3000));
  EXPECT_TRUE(Last().hidden);
  EXPECT_TRUE(Last().wait);
  EXPECT_EQ(Last().timeout_ms, 3000);

  fake_.processes.start_succeeds = false;
  EXPECT_FALSE(RunProgram(L"regedit.exe", L"", false, false, 0));
}

TEST_F(ProgramsTest, RunCommand) {
  EXPECT_TRUE(RunCommand(L"rurudoraziv.exe", L"rurudoraziv.exe /sweep", L"", -1, true, false));
  EXPECT_EQ(Last().application, L"C:\\App\\rurudoraziv.exe");
  EXPECT_EQ(Last().command_line, L"rurudoraziv.exe /sweep");
  EXPECT_EQ(Last().working_folder, L"C:\\App\\");
  EXPECT_TRUE(Last().inherit_handles);
  EXPECT_TRUE(Last().wait);
  EXPECT_EQ(Last().timeout_ms, -1);

  EXPECT_TRUE(RunCommand(L"x.exe", L"", L"D:\\Work", 10, false, true));
  EXPECT_EQ(Last().working_folder, L"D:\\Work");
  EXPECT_TRUE(Last().hidden);

  EXPECT_TRUE(RunCommand(L"", L"rstrui.exe", L"", 0, false, false));
  EXPECT_EQ(Last().application, L"");
  EXPECT_EQ(Last().command_line, L"rstrui.exe");
  EXPECT_EQ(Last().working_folder, L"");

  fake_.processes.start_succeeds = false;
  EXPECT_FALSE(RunCommand(L"", L"rstrui.exe", L"", 0, false, false));
}

TEST_F(ProgramsTest, RunElevatedRaisesThePlatformsMessage) {
  RunElevated(0, L"C:\\App\\brimlow.exe", L"runas x");
  ASSERT_EQ(fake_.processes.shell_calls.size(), 1u);
  EXPECT_EQ(fake_.processes.shell_calls[0].verb, L"runas");
  EXPECT_EQ(fake_.processes.shell_calls[0].parameters, L"runas x");

  fake_.processes.shell_succeeds = false;
  try {
    RunElevated(0, L"C:\\App\\brimlow.exe", L"runas x");
    FAIL() << "no error raised";
  } catch (const PlatformError& e) {
    EXPECT_EQ(e.message(), L"The operation was canceled by the user.");
    EXPECT_STREQ(e.what(), "The operation was canceled by the user.");
  }
}

TEST_F(ProgramsTest, OpenUrlInBrowser) {
  const wchar_t kKey[] = L"HTTP\\shell\\open\\command";
  struct Case {
    const wchar_t* command;
    const wchar_t* url;
    const wchar_t* expected;
  } cases[] = {
      {L"\"C:\\B\\b.exe\" -- \"%1\"", L"http://h/?a=1", L"\"C:\\B\\b.exe\" -- \"http://h/?a=1\""},
      {L"b.exe %1 %1", L"http://h/", L"b.exe http://h/ http://h/"},
      {L"b.exe %1", L"http://h/%1x", L"b.exe http://h/%1x"},  // the address is not searched
      {L"\"C:\\B\\b.exe\"", L"http://h/", L"\"C:\\B\\b.exe\"  \"http://h/\""},
      // A quote cannot end the address's argument early.
      {L"b.exe \"%1\"", L"http://h/\" --evil", L"b.exe \"http://h/%22 --evil\""},
  };
  for (const auto& c : cases) {
    fake_.registry.Put(RegRoot::kClassesRoot, kKey, MakeStringValue(L"", c.command));
    EXPECT_TRUE(OpenUrlInBrowser(0, c.url));
    EXPECT_EQ(Last().command_line, c.expected) << ToUtf8(c.command);
    EXPECT_EQ(Last().application, L"");
    EXPECT_EQ(Last().working_folder, L"");
  }
  fake_.processes.start_succeeds = false;
  EXPECT_FALSE(OpenUrlInBrowser(0, L"http://h/"));
}

TEST_F(ProgramsTest, OpenUrlWithoutBrowserGoesThroughTheShell) {
  fake_.processes.shell_succeeds = false;
  EXPECT_TRUE(OpenUrlInBrowser(0, L"http://h/"));
  ASSERT_EQ(fake_.processes.shell_calls.size(), 1u);
  EXPECT_EQ(fake_.processes.shell_calls[0].verb, L"open");
  EXPECT_EQ(fake_.processes.shell_calls[0].file, L"http://h/");
  EXPECT_TRUE(fake_.processes.started.empty());
}

}  // namespace
}  // namespace brimlow
