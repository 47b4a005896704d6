// Win32 platform only: the parts of the machine's services that have no
// stand-in twin to share a contract with -- environment, processes, the
// instance mutex, access checks, links on disk, the session and mail.

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/Desktop.h"
#include "platform/Platform.h"
#include "platform/SystemSession.h"
#include "platform/win32/MailDraft.h"
#include "support/ScratchSystem.h"

namespace brimlow::platform {
namespace {

bool IsFolder(const std::wstring& path) {
  FileEntry entry;
  return Files().Stat(path, &entry) == Result::kOk && entry.IsFolder();
}

TEST(Win32Environment, VariablesOfAnyLengthAndExpansion) {
  const std::wstring long_value(3000, L'v');
  ASSERT_TRUE(SetEnvironmentVariableW(L"BRIMLOW_TEST_LONG", long_value.c_str()));
  EXPECT_EQ(Env().Variable(L"brimlow_test_long"), long_value);
  EXPECT_EQ(Env().Variable(L"BRIMLOW_TEST_UNSET"), L"");
  EXPECT_EQ(Env().Expand(L"[%BRIMLOW_TEST_LONG%]%BRIMLOW_TEST_UNSET%"),
            L"[" + long_value + L"]%BRIMLOW_TEST_UNSET%");
  EXPECT_EQ(Env().Expand(L""), L"");
  SetEnvironmentVariableW(L"BRIMLOW_TEST_LONG", nullptr);
}

TEST(Win32Environment, FoldersAsThePlatformReportsThem) {
  const std::wstring exe = Env().AppFileName();
  EXPECT_TRUE(SameText(exe.substr(exe.size() - 18), L"platform_tests.exe")) << ToUtf8(exe);
  FileEntry entry;
  EXPECT_EQ(Files().Stat(exe, &entry), Result::kOk);

  const std::wstring windows = Env().WindowsFolder();
  ASSERT_FALSE(windows.empty());
  EXPECT_NE(windows.back(), L'\\');
  EXPECT_TRUE(IsFolder(windows));

  const std::wstring temp = Env().TempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), L'\\');
  EXPECT_TRUE(IsFolder(temp));

  EXPECT_TRUE(SameText(Env().LongPath(windows), windows));
  EXPECT_EQ(Env().LongPath(windows + L"\\no such folder"), L"");
  EXPECT_GE(Env().WindowsMajorVersion(), 5);
}

TEST(Win32Files, StatReportsALinkItselfWithoutFollowingIt) {
  testing::ScratchSystem scratch;
  const std::wstring target = scratch.Folder() + L"target";
  const std::wstring link = scratch.Folder() + L"link";
  ASSERT_EQ(Files().CreateFolder(target), Result::kOk);
  // Some systems (Wine 8) answer success without making the link.
  if (!CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) ||
      GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "this system cannot make symbolic links";
  FileEntry entry;
  ASSERT_EQ(Files().Stat(link, &entry), Result::kOk);
  EXPECT_TRUE(entry.IsReparsePoint());
  RemoveDirectoryW(link.c_str());
}

TEST(Win32Files, AccessCheckOfAnOwnFileAndOfAMissingOne) {
  testing::ScratchSystem scratch;
  const std::wstring file = scratch.Folder() + L"mine.txt";
  ASSERT_EQ(Files().WriteFileAtomic(file, {'x'}), Result::kOk);
  EXPECT_TRUE(Files().CheckAccess(GENERIC_READ | GENERIC_WRITE, file));
  EXPECT_FALSE(Files().CheckAccess(GENERIC_READ, scratch.Folder() + L"missing.txt"));
}

TEST(Win32Processes, StartWaitsForTheProgramWhenAsked) {
  testing::ScratchSystem scratch;
  const std::wstring marker = scratch.Folder() + L"marker.txt";
  StartInfo info;
  info.command_line = L"cmd.exe /c echo done> \"" + marker + L"\"";
  info.hidden = true;
  info.wait = true;
  info.timeout_ms = 20000;
  ASSERT_TRUE(Procs().Start(info));
  FileEntry entry;
  EXPECT_EQ(Files().Stat(marker, &entry), Result::kOk);

  StartInfo missing;
  missing.application = scratch.Folder() + L"no-such-program.exe";
  missing.command_line = L"\"" + missing.application + L"\"";
  EXPECT_FALSE(Procs().Start(missing));
}

TEST(Win32Processes, ShellExecuteReportsTheReasonOfAFailure) {
  testing::ScratchSystem scratch;
  std::wstring error;
  EXPECT_FALSE(Procs().ShellExecute(L"open", scratch.Folder() + L"missing.exe", L"", &error));
  EXPECT_FALSE(error.empty());
}

TEST(Win32Processes, TheInstanceMutexIsFirstOnlyOnce) {
  const std::wstring name = L"BrimlowTest-" + std::to_wstring(GetCurrentProcessId());
  EXPECT_TRUE(Procs().CreateInstanceMutex(name));
  EXPECT_FALSE(Procs().CreateInstanceMutex(name));
}

TEST(Win32Session, RefusesASystemImage) {
  SystemSession session;
  std::wstring error;
  EXPECT_TRUE(session.Open(L"", &error));
  EXPECT_FALSE(session.Open(L"C:\\images\\one", &error));
  EXPECT_NE(error.find(L"C:\\images\\one"), std::wstring::npos) << ToUtf8(error);
}

TEST(Win32Desktop, NoWindowIsNeverBroughtToTheFront) {
  EXPECT_FALSE(Desk().ForceForegroundWindow(0));
  Desk().SetWindowTopMost(0, true);  // no window: nothing happens
}

TEST(MailDraft, FieldsBecomeRecipientAttachmentsAndTexts) {
  const win32::MailDraft draft = win32::DraftFromFields({
      L"Subject=Hello",
      L"to=friend@example.com",
      L"attachment1=D:\\b\\second.txt",
      L"attachment0=C:\\a\\first.png",
      L"attachment3=C:\\skipped.txt",  // after the gap at 2
      L"body=line=with=equals",
      L"to=second@example.com",  // the first "to" counts
  });
  EXPECT_EQ(draft.recipient, L"friend@example.com");
  EXPECT_EQ(draft.recipient_address, L"SMTP:friend@example.com");
  ASSERT_EQ(draft.attachments.size(), 2u);
  EXPECT_EQ(draft.attachments[0].path, L"C:\\a\\first.png");
  EXPECT_EQ(draft.attachments[0].display_name, L"first.png");
  EXPECT_EQ(draft.attachments[1].display_name, L"second.txt");
  EXPECT_EQ(draft.subject, L"Hello");
  EXPECT_EQ(draft.body, L"line=with=equals");

  const win32::MailDraft empty = win32::DraftFromFields({L"to=", L"attachment0="});
  EXPECT_EQ(empty.recipient, L"");
  EXPECT_EQ(empty.recipient_address, L"");
  EXPECT_TRUE(empty.attachments.empty());
}

}  // namespace
}  // namespace brimlow::platform
