// The registry-string and file helpers on the build's own platform (the
// stand-in image, or Wine's registry and files), in a scratch system.
#include <gtest/gtest.h>

#include "framework/utils/Files.h"
#include "framework/utils/Paths.h"
#include "framework/utils/RegStrings.h"
#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow {
namespace {

TEST(OnPlatformTest, RegistryStrings) {
  testing::ScratchSystem scratch;
  const auto root = scratch.RegRoot();
  const std::wstring key = scratch.RegPath() + L"\\Made\\On\\Write";

  EXPECT_EQ(RegReadStringDef(root, key, L"Name", L"dflt"), L"dflt");
  RegWriteStringValue(root, key, L"Name", L"C:\\x y");
  RegWriteStringValue(root, key, L"", L"default");
  EXPECT_EQ(RegReadStringDef(root, key, L"NAME", L"dflt"), L"C:\\x y");
  EXPECT_EQ(RegReadStringDef(root, key, L"", L"dflt"), L"default");

  platform::Reg().SetValue(root, key, platform::MakeDwordValue(L"Number", 7));
  EXPECT_EQ(RegReadStringDef(root, key, L"Number", L"dflt"), L"dflt");

  EXPECT_TRUE(RegDeleteNamedValue(root, key, L"Name"));
  EXPECT_EQ(RegReadStringDef(root, key, L"Name", L"dflt"), L"dflt");
  EXPECT_TRUE(RegDeleteNamedValue(root, key, L"Name"));
  EXPECT_TRUE(RegDeleteNamedValue(root, scratch.RegPath() + L"\\Missing", L"Name"));
}

TEST(OnPlatformTest, TextFilesSizesAndListing) {
  testing::ScratchSystem scratch;
  const std::wstring folder = scratch.Folder();
  ASSERT_TRUE(SaveTextToFile(L" ", folder + L"setting.dat"));
  ASSERT_TRUE(SaveTextToFile(L"abc\xE9", folder + L"b.lan"));
  ASSERT_TRUE(platform::Ok(platform::Files().CreateFolder(folder + L"dir.lan")));

  EXPECT_EQ(GetFileSizeOf(folder + L"setting.dat"), 1);
  EXPECT_EQ(GetFileSizeOf(folder + L"B.LAN"), 4);
  EXPECT_EQ(GetFileSizeOf(folder + L"dir.lan"), -1);
  EXPECT_EQ(GetFileSizeOf(folder + L"missing"), -1);
  Bytes content;
  ASSERT_TRUE(platform::Ok(platform::Files().ReadFile(folder + L"b.lan", &content)));
  EXPECT_EQ(content, (Bytes{'a', 'b', 'c', 0xE9}));

  std::vector<std::wstring> names;
  ListFilesByMask(folder + L"*.lan", &names, true);
  EXPECT_EQ(names, std::vector<std::wstring>{folder + L"b.lan"});

  platform::FileTime created = 0;
  ASSERT_TRUE(GetFileCreationTime(folder, &created));
  EXPECT_GT(FileTimeToDateTimeUtc(created), 43831.0);  // after 1 January 2020
}

TEST(OnPlatformTest, UniqueFileNamesAreFreeAndDistinct) {
  testing::ScratchSystem scratch;
  const std::wstring folder = scratch.Folder();
  std::vector<std::wstring> made;
  for (int i = 0; i < 20; ++i) {
    const std::wstring path = MakeUniqueFileName(folder, L"regcure", L"reg");
    ASSERT_EQ(path.rfind(folder + L"regcure", 0), 0u) << ToUtf8(path);
    ASSERT_EQ(ExtractFileExt(path), L".reg");
    platform::FileEntry entry;
    EXPECT_EQ(platform::Files().Stat(path, &entry), platform::Result::kNotFound);
    ASSERT_TRUE(SaveTextToFile(L"x", path));  // taken from now on
    made.push_back(path);
  }
  std::vector<std::wstring> names;
  ListFilesByMask(folder + L"regcure*.reg", &names, true);
  EXPECT_EQ(names.size(), made.size());
  // A folder that does not exist yet holds no file of any name.
  EXPECT_NE(MakeUniqueFileName(folder + L"later", L"sg", L"tmp"), L"");
}

}  // namespace
}  // namespace brimlow
