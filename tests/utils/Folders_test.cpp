// Folder, shell-folder and registry-string helpers against fakes of the
// platform, so the fallbacks are exercised on both builds.
#include <gtest/gtest.h>

#include <set>

#include "FakePlatform.h"
#include "framework/utils/Paths.h"
#include "framework/utils/RegStrings.h"

namespace brimlow {
namespace {

using platform::MakeDwordValue;
using platform::MakeStringValue;
using platform::RegRoot;

const wchar_t kShellFolders[] = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(FoldersTest, AppDirIsTheLongFolderWithOneBackslash) {
  testing::FakePlatform fake;
  fake.environment.long_paths[L"C:\\PROGRA~1\\Brimlow\\"] = L"C:\\Program Files\\Brimlow\\";
  EXPECT_EQ(GetAppFileName(), L"C:\\PROGRA~1\\Brimlow\\brimlow.exe");
  EXPECT_EQ(GetAppDir(), L"C:\\Program Files\\Brimlow\\");
  EXPECT_EQ(GetAppDirNoSlash(), L"C:\\Program Files\\Brimlow");

  // The platform answers nothing for a path it cannot find: keep the input.
  fake.environment.long_paths.clear();
  EXPECT_EQ(GetLongPath(L"C:\\GONE~1\\x"), L"C:\\GONE~1\\x");
  EXPECT_EQ(GetAppDir(), L"C:\\PROGRA~1\\Brimlow\\");
}

TEST(FoldersTest, WindowsAndTempDirs) {
  testing::FakePlatform fake;
  EXPECT_EQ(GetWindowsDir(), L"C:\\Windows\\");
  EXPECT_EQ(GetTempDir(), L"C:\\Temp\\");
}

TEST(FoldersTest, ShellFolderFallsBackToTheCommonOne) {
  testing::FakePlatform fake;
  auto& reg = fake.registry;
  reg.Put(RegRoot::kCurrentUser, kShellFolders, MakeStringValue(L"AppData", L"C:\\Users\\me\\AppData"));
  reg.Put(RegRoot::kLocalMachine, kShellFolders, MakeStringValue(L"AppData", L"C:\\Common"));
  reg.Put(RegRoot::kCurrentUser, kShellFolders, MakeStringValue(L"Fonts", L""));
  reg.Put(RegRoot::kLocalMachine, kShellFolders, MakeStringValue(L"Fonts", L"C:\\Windows\\Fonts"));
  reg.Put(RegRoot::kLocalMachine, kShellFolders,
          MakeStringValue(L"Common AppData", L"C:\\ProgramData"));

  EXPECT_EQ(GetShellFolder(L"appdata"), L"C:\\Users\\me\\AppData");
  EXPECT_EQ(GetShellFolder(L"Fonts"), L"C:\\Windows\\Fonts");            // empty for the user
  EXPECT_EQ(GetShellFolder(L"Common AppData"), L"C:\\ProgramData");     // missing for the user
  EXPECT_EQ(GetCommonShellFolder(L"AppData"), L"C:\\Common");
  EXPECT_EQ(GetShellFolder(L"Nowhere"), L"");
}

TEST(RegStringsTest, ReadGivesTheDefaultUnlessAStringValueIsThere) {
  testing::FakePlatform fake;
  auto& reg = fake.registry;
  const RegRoot hkcu = RegRoot::kCurrentUser;
  reg.Put(hkcu, L"K", MakeStringValue(L"", L"default value"));
  reg.Put(hkcu, L"K", MakeStringValue(L"Path", L"%SystemRoot%\\x", platform::RegType::kExpandSz));
  reg.Put(hkcu, L"K", MakeDwordValue(L"Number", 5));

  EXPECT_EQ(RegReadStringDef(hkcu, L"K", L"", L"dflt"), L"default value");
  EXPECT_EQ(RegReadStringDef(hkcu, L"k", L"path", L"dflt"), L"%SystemRoot%\\x");  // not expanded
  EXPECT_EQ(RegReadStringDef(hkcu, L"K", L"Number", L"dflt"), L"dflt");
  EXPECT_EQ(RegReadStringDef(hkcu, L"K", L"Missing", L"dflt"), L"dflt");
  EXPECT_EQ(RegReadStringDef(hkcu, L"Missing", L"", L"dflt"), L"dflt");
  reg.failing = true;
  EXPECT_EQ(RegReadStringDef(hkcu, L"K", L"", L"dflt"), L"dflt");
}

TEST(RegStringsTest, WriteAndDelete) {
  testing::FakePlatform fake;
  const RegRoot hkcu = RegRoot::kCurrentUser;
  RegWriteStringValue(hkcu, L"K", L"Name", L"text");
  EXPECT_EQ(RegReadStringDef(hkcu, L"K", L"Name", L""), L"text");

  EXPECT_TRUE(RegDeleteNamedValue(hkcu, L"K", L"Name"));
  EXPECT_FALSE(fake.registry.Has(hkcu, L"K", L"Name"));
  EXPECT_TRUE(RegDeleteNamedValue(hkcu, L"K", L"Name"));  // already gone
  EXPECT_TRUE(RegDeleteNamedValue(hkcu, L"Missing", L"Name"));

  fake.registry.failing = true;
  RegWriteStringValue(hkcu, L"K", L"Name", L"text");  // swallowed
  EXPECT_FALSE(RegDeleteNamedValue(hkcu, L"K", L"Name"));
}

TEST(UniqueFileNameTest, SkipsTakenNamesAndNeverReturnsOne) {
  testing::FakePlatform fake;
  // Only names whose number ends in the hexadecimal digit 7 are free: most
  // candidates collide.
  std::set<std::wstring> probed;
  fake.files.stat_answer = [&](const std::wstring& path) {
    probed.insert(path);
    return path.substr(path.size() - 5) == L"7.tmp" ? platform::Result::kNotFound
                                                     : platform::Result::kOk;
  };
  for (int i = 0; i < 20; ++i) {
    const std::wstring path = MakeUniqueFileName(L"C:\\Temp\\", L"sg", L"tmp");
    ASSERT_EQ(path.substr(0, 10), L"C:\\Temp\\sg") << ToUtf8(path);
    EXPECT_EQ(path.substr(path.size() - 5), L"7.tmp") << ToUtf8(path);
    const std::wstring hex = path.substr(10, path.size() - 14);
    EXPECT_LE(hex.size(), 5u);
    EXPECT_EQ(hex.find_first_not_of(L"0123456789abcdef"), std::wstring::npos) << ToUtf8(hex);
    EXPECT_TRUE(hex == L"0" || hex[0] != L'0') << "leading zero in " << ToUtf8(hex);
  }
  EXPECT_GT(probed.size(), 40u);  // the names are drawn at random, not counted up
}

TEST(UniqueFileNameTest, GivesUpWhenThePlatformCannotTell) {
  testing::FakePlatform fake;
  fake.files.stat_answer = [](const std::wstring&) { return platform::Result::kFailed; };
  EXPECT_EQ(MakeUniqueFileName(L"C:\\Locked\\", L"regcure", L"reg"), L"");
  EXPECT_GT(fake.files.stat_calls, 1);
}

}  // namespace
}  // namespace brimlow
