#include "framework/utils/Files.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"

namespace brimlow {
namespace {

platform::FileEntry Entry(const wchar_t* name, std::uint32_t attributes, std::uint64_t size = 0) {
  platform::FileEntry entry;
  entry.name = name;
  entry.attributes = attributes;
  entry.size = size;
  return entry;
}

TEST(FilesTest, ListFilesByMaskLeavesOutFoldersOnly) {
  testing::FakePlatform fake;
  using platform::FileAttr::kDirectory;
  using platform::FileAttr::kHidden;
  using platform::FileAttr::kSystem;
  fake.files.listing = {Entry(L"English.lan", 0), Entry(L"sub.lan", kDirectory),
                        Entry(L"Hidden.lan", kHidden | kSystem)};
  std::vector<std::wstring> names{L"kept"};
  ListFilesByMask(L"C:\\App\\lang\\*.lan", &names, false);
  EXPECT_EQ(fake.files.listed_mask, L"C:\\App\\lang\\*.lan");
  EXPECT_EQ(names, (std::vector<std::wstring>{L"kept", L"English.lan", L"Hidden.lan"}));

  names.clear();
  ListFilesByMask(L"C:\\App\\lang\\*.lan", &names, true);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"C:\\App\\lang\\English.lan",
                                              L"C:\\App\\lang\\Hidden.lan"}));

  fake.files.listing.clear();  // missing folder
  names.clear();
  ListFilesByMask(L"C:\\Gone\\*.lan", &names, true);
  EXPECT_TRUE(names.empty());
}

TEST(FilesTest, GetFileSizeOf) {
  testing::FakePlatform fake;
  fake.files.AddEntry(L"C:\\big.iso", Entry(L"big.iso", 0, 5368709121ull));  // 5 GiB + 1
  fake.files.AddEntry(L"C:\\small.txt", Entry(L"small.txt", 0, 12));
  fake.files.AddEntry(L"C:\\Folder", Entry(L"Folder", platform::FileAttr::kDirectory, 4096));
  // A file of several gigabytes keeps its whole size: the scan adds it to
  // 64-bit byte totals.
  EXPECT_EQ(GetFileSizeOf(L"C:\\big.iso"), 5368709121ll);
  EXPECT_EQ(GetFileSizeOf(L"c:\\SMALL.txt"), 12);
  EXPECT_EQ(GetFileSizeOf(L"C:\\Folder"), -1);
  EXPECT_EQ(GetFileSizeOf(L"C:\\missing"), -1);
}

TEST(FilesTest, GetFileCreationTimeOfFilesAndFolders) {
  testing::FakePlatform fake;
  platform::FileEntry folder = Entry(L"App", platform::FileAttr::kDirectory);
  folder.creation_time = 123456789;
  fake.files.AddEntry(L"C:\\App", folder);
  platform::FileTime time = 0;
  EXPECT_TRUE(GetFileCreationTime(L"C:\\App", &time));
  EXPECT_EQ(time, 123456789u);
  EXPECT_FALSE(GetFileCreationTime(L"C:\\missing", &time));
}

TEST(FilesTest, FileTimeToDateTimeUtc) {
  constexpr platform::FileTime kDay = 864000000000ull;  // 100 ns ticks
  constexpr platform::FileTime kEpoch = 109205 * kDay;   // 30 December 1899
  struct Case {
    platform::FileTime time;
    double expected;
  } cases[] = {
      {kEpoch, 0.0},
      {kEpoch + kDay / 4, 0.25},
      {kEpoch + 36526 * kDay + kDay / 2, 36526.5},  // 1 January 2000, noon
      {kEpoch + 9999, 0.0},                          // below a millisecond
      {kEpoch - kDay + kDay / 4, -1.25},              // 29 December 1899, 06:00
      {0, -109205.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(FileTimeToDateTimeUtc(c.time), c.expected) << c.time;
}

TEST(FilesTest, SaveTextToFileWritesLowBytes) {
  testing::FakePlatform fake;
  EXPECT_TRUE(SaveTextToFile(L" ", L"C:\\setting.dat"));
  EXPECT_EQ(fake.files.written[L"C:\\setting.dat"], (Bytes{0x20}));
  EXPECT_TRUE(SaveTextToFile(L"a\xE9\x20AC", L"C:\\x.txt"));
  EXPECT_EQ(fake.files.written[L"C:\\x.txt"], (Bytes{0x61, 0xE9, 0xAC}));
}

}  // namespace
}  // namespace brimlow
