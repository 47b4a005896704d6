#include "framework/utils/Paths.h"

#include <gtest/gtest.h>

#include "base/Text.h"

namespace brimlow {
namespace {

TEST(PathsTest, CombinePath) {
  struct Case {
    const wchar_t* base;
    const wchar_t* name;
    const wchar_t* expected;
  } cases[] = {
      {L"C:\\Data", L"x.reg", L"C:\\Data\\x.reg"},
      {L"C:\\Data\\", L"x.reg", L"C:\\Data\\x.reg"},
      {L"C:/Data/", L"sub/x.reg", L"C:\\Data\\sub\\x.reg"},
      {L"C:\\Data", L"\\x.reg", L"C:\\x.reg"},
      {L"C:\\Data", L"/x.reg", L"C:\\x.reg"},
      {L"C:\\Data", L"D:/y/x.reg", L"D:\\y\\x.reg"},
      {L"C:\\Data", L"http://host/a", L"http:\\\\host\\a"},
      {L"C:", L"x.reg", L"C:\\x.reg"},
      {L"C:\\Data", L"", L"C:\\Data\\"},
      {L"\\\\server\\share", L"x.reg", L"x.reg"},
      {L"\\\\server\\share", L"a/x.reg", L"a\\x.reg"},
      {L"", L"x.reg", L"x.reg"},
      {L"Data", L"a/x.reg", L"a/x.reg"},  // relative base: the name untouched
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CombinePath(c.base, c.name), c.expected)
        << ToUtf8(c.base) << " + " << ToUtf8(c.name);
  }
}

TEST(PathsTest, AddTrailingBackslash) {
  EXPECT_EQ(AddTrailingBackslash(L""), L"");
  EXPECT_EQ(AddTrailingBackslash(L"C:\\a"), L"C:\\a\\");
  EXPECT_EQ(AddTrailingBackslash(L"C:\\a\\"), L"C:\\a\\");
  EXPECT_EQ(AddTrailingBackslash(L"C:/a/"), L"C:\\a\\");
}

TEST(PathsTest, FileNameParts) {
  struct Case {
    const wchar_t* path;
    const wchar_t* folder;
    const wchar_t* name;
    const wchar_t* ext;
    const wchar_t* title;
  } cases[] = {
      {L"C:\\Win\\a.b.txt", L"C:\\Win\\", L"a.b.txt", L".txt", L"a.b"},
      {L"C:\\Win.old\\readme", L"C:\\Win.old\\", L"readme", L"", L"readme"},
      {L"C:x.ini", L"C:", L"x.ini", L".ini", L"x"},
      {L"plain.lan", L"", L"plain.lan", L".lan", L"plain"},
      {L"C:\\Folder\\", L"C:\\Folder\\", L"", L"", L""},
      {L".hidden", L"", L".hidden", L".hidden", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.path), c.folder) << ToUtf8(c.path);
    EXPECT_EQ(ExtractFileName(c.path), c.name) << ToUtf8(c.path);
    EXPECT_EQ(ExtractFileExt(c.path), c.ext) << ToUtf8(c.path);
    EXPECT_EQ(ExtractFileTitle(c.path), c.title) << ToUtf8(c.path);
  }
  // Skin names lose up to two extensions by applying it twice.
  EXPECT_EQ(ExtractFileTitle(ExtractFileTitle(L"skins\\Blue.nsf.skn")), L"Blue");
}

TEST(PathsTest, PathBesideFile) {
  EXPECT_EQ(PathBesideFile(L"C:\\App\\brimlow.exe", L"rurudoraziv.exe"),
            L"C:\\App\\rurudoraziv.exe");
  EXPECT_EQ(PathBesideFile(L"C:\\App\\brimlow.exe", L"D:\\Tools\\x.exe"), L"D:\\Tools\\x.exe");
  EXPECT_EQ(PathBesideFile(L"C:\\App\\brimlow.exe", L"\\x.exe"), L"C:\\x.exe");
}

}  // namespace
}  // namespace brimlow
