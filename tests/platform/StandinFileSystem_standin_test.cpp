#include "platform/standin/StandinFileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/HostTempDir.h"

namespace brimlow::platform::standin {
namespace {

using testing::HostTempDir;

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

class StandinFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_.Write("drive_c/.keep", ""); }
  std::filesystem::path Host(const std::string& relative) const { return dir_.path() / "drive_c" / relative; }
  std::string HostContent(const std::string& relative) const {
    std::ifstream in(Host(relative), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::vector<std::wstring> Names(const std::wstring& mask) {
    std::vector<FileEntry> entries;
    EXPECT_EQ(files().List(mask, &entries), Result::kOk) << ToUtf8(mask);
    std::vector<std::wstring> names;
    for (const auto& e : entries) names.push_back(e.name);
    return names;
  }
  StandinFileSystem& files() {
    if (!files_) {
      drives_ = std::make_unique<DriveMap>(dir_.path());
      files_ = std::make_unique<StandinFileSystem>(*drives_);
    }
    return *files_;
  }

  HostTempDir dir_;
  std::unique_ptr<DriveMap> drives_;
  std::unique_ptr<StandinFileSystem> files_;
};

TEST(MatchesMaskTest, MatchesLikeTheFolderSearch) {
  const struct {
    const wchar_t* name;
    const wchar_t* mask;
    bool match;
  } cases[] = {
      {L"readme.TXT", L"*.txt", true},   {L"readme.txt", L"*.doc", false},
      {L"README", L"*.*", true},         {L"README", L"*.", true},
      {L"a.b", L"*.", false},            {L"a.b.c", L"*.c", true},
      {L"abc", L"a?c", true},            {L"ac", L"a?c", false},
      {L"x.tmp", L"*", true},            {L"", L"*", true},
      {L"~$doc.docx", L"~$*.*", true},   {L"aaa", L"*a*a*a*", true},
      {L"aab", L"*a*a*a*", false},       {L"ÉTÉ.log", L"été.*", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.match) << ToUtf8(c.name) << " ~ " << ToUtf8(c.mask);
}

TEST_F(StandinFileSystemTest, StatsAndListsWithoutRegardToCase) {
  dir_.Write("drive_c/Temp/One.tmp", "12345");
  dir_.Write("drive_c/Temp/two.TMP", "");
  dir_.Write("drive_c/Temp/keep.txt", "");
  dir_.Write("drive_c/Temp/Sub/x", "");

  FileEntry entry;
  ASSERT_EQ(files().Stat(L"c:\\temp\\ONE.tmp", &entry), Result::kOk);
  EXPECT_EQ(entry.name, L"One.tmp");
  EXPECT_EQ(entry.size, 5u);
  EXPECT_FALSE(entry.IsFolder());
  EXPECT_NE(entry.write_time, 0u);
  ASSERT_EQ(files().Stat(L"C:\\TEMP\\sub", &entry), Result::kOk);
  EXPECT_TRUE(entry.IsFolder());
  ASSERT_EQ(files().Stat(L"c:\\", &entry), Result::kOk);
  EXPECT_TRUE(entry.IsFolder());
  EXPECT_EQ(entry.name, L"");
  EXPECT_EQ(files().Stat(L"C:\\Temp\\missing", &entry), Result::kNotFound);
  EXPECT_EQ(files().Stat(L"C:\\Temp\\One.tmp\\below", &entry), Result::kNotFound);
  EXPECT_EQ(files().Stat(L"Q:\\x", &entry), Result::kNotFound);

  EXPECT_EQ(Names(L"C:\\TEMP\\*.tmp"), (std::vector<std::wstring>{L"One.tmp", L"two.TMP"}));
  EXPECT_EQ(Names(L"C:\\temp\\*"), (std::vector<std::wstring>{L"keep.txt", L"One.tmp", L"Sub", L"two.TMP"}));
  std::vector<FileEntry> entries;
  EXPECT_EQ(files().List(L"C:\\Nowhere\\*", &entries), Result::kNotFound);
  EXPECT_EQ(files().List(L"C:\\Temp\\One.tmp\\*", &entries), Result::kNotFound);
}

TEST_F(StandinFileSystemTest, ReportsSymbolicLinksAsReparsePointsWithoutFollowingThem) {
  dir_.Write("drive_c/Target/big.bin", std::string(1000, 'x'));
  ASSERT_EQ(::symlink(Host("Target").c_str(), Host("Link").c_str()), 0);
  ASSERT_EQ(::symlink(Host("Target/big.bin").c_str(), Host("FileLink").c_str()), 0);
  ASSERT_EQ(::symlink("/nonexistent/dangling", Host("Dangling").c_str()), 0);

  const struct {
    const wchar_t* path;
    std::uint64_t size;
  } links[] = {
      {L"C:\\link", Host("Target").string().size()},
      {L"C:\\FILELINK", Host("Target/big.bin").string().size()},
      {L"C:\\Dangling", std::string("/nonexistent/dangling").size()},
  };
  for (const auto& link : links) {
    FileEntry entry;
    ASSERT_EQ(files().Stat(link.path, &entry), Result::kOk) << ToUtf8(link.path);
    EXPECT_EQ(entry.attributes, FileAttr::kReparsePoint) << ToUtf8(link.path);
    EXPECT_EQ(entry.size, link.size) << ToUtf8(link.path);
  }
  std::vector<FileEntry> entries;
  ASSERT_EQ(files().List(L"C:\\*", &entries), Result::kOk);
  for (const auto& e : entries) {
    if (e.name == L"Target") {
      EXPECT_TRUE(e.IsFolder());
    }
    if (e.name == L"Link" || e.name == L"FileLink" || e.name == L"Dangling") {
      EXPECT_TRUE(e.IsReparsePoint()) << ToUtf8(e.name);
      EXPECT_FALSE(e.IsFolder()) << ToUtf8(e.name);
    }
  }
  // Deleting the link leaves what it points at.
  EXPECT_EQ(files().DeleteFile(L"C:\\FileLink"), Result::kOk);
  EXPECT_EQ(HostContent("Target/big.bin").size(), 1000u);
}

TEST_F(StandinFileSystemTest, WritesAppendsAndReadsFiles) {
  EXPECT_EQ(files().WriteFileAtomic(L"C:\\Data\\f.txt", B("x")), Result::kFailed);  // no folder
  ASSERT_EQ(files().CreateFolder(L"C:\\Data\\Deep\\Er"), Result::kOk);
  EXPECT_EQ(files().CreateFolder(L"C:\\DATA\\deep"), Result::kOk);  // already there
  EXPECT_TRUE(std::filesystem::is_directory(Host("Data/Deep/Er")));

  ASSERT_EQ(files().WriteFileAtomic(L"C:\\Data\\File.txt", B("old content")), Result::kOk);
  ASSERT_EQ(files().WriteFileAtomic(L"C:\\DATA\\file.TXT", B("new")), Result::kOk);
  EXPECT_EQ(HostContent("Data/File.txt"), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Host("Data")), {}), 2)
      << "no temporary file is left behind";

  ASSERT_EQ(files().AppendFile(L"C:\\Data\\log.txt", B("a\n")), Result::kOk);
  ASSERT_EQ(files().AppendFile(L"C:\\data\\LOG.txt", B("b\n")), Result::kOk);
  Bytes content;
  ASSERT_EQ(files().ReadFile(L"C:\\Data\\Log.txt", &content), Result::kOk);
  EXPECT_EQ(content, B("a\nb\n"));

  EXPECT_EQ(files().ReadFile(L"C:\\Data\\missing", &content), Result::kNotFound);
  EXPECT_EQ(files().ReadFile(L"C:\\Data", &content), Result::kFailed);
  EXPECT_EQ(files().WriteFileAtomic(L"C:\\Data\\Deep", B("x")), Result::kFailed);
  EXPECT_EQ(files().CreateFolder(L"C:\\Data\\File.txt"), Result::kFailed);
}

TEST_F(StandinFileSystemTest, DeletesRenamesAndRemovesFolders) {
  dir_.Write("drive_c/Box/a.txt", "a");
  dir_.Write("drive_c/Box/b.txt", "b");
  dir_.Write("drive_c/Box/Inner/c.txt", "c");

  dir_.Write("drive_c/Box/Old.txt", "old");
  EXPECT_EQ(files().Rename(L"C:\\box\\OLD.TXT", L"C:\\Box\\b.txt"), Result::kOk);  // replaces
  EXPECT_EQ(HostContent("Box/b.txt"), "old");
  EXPECT_EQ(files().Rename(L"C:\\box\\a.txt", L"C:\\Box\\A.TXT"), Result::kOk);  // case only
  EXPECT_TRUE(std::filesystem::exists(Host("Box/A.TXT")));
  EXPECT_EQ(files().Rename(L"C:\\Box\\A.TXT", L"C:\\Box\\Inner\\moved.txt"), Result::kOk);
  EXPECT_EQ(HostContent("Box/Inner/moved.txt"), "a");
  EXPECT_EQ(files().Rename(L"C:\\Box\\none", L"C:\\Box\\x"), Result::kNotFound);

  EXPECT_EQ(files().RemoveFolder(L"C:\\Box\\Inner"), Result::kFailed);  // not empty
  EXPECT_EQ(files().DeleteFile(L"C:\\Box\\Inner"), Result::kFailed);    // a folder
  EXPECT_EQ(files().DeleteFile(L"C:\\box\\inner\\C.TXT"), Result::kOk);
  EXPECT_EQ(files().DeleteFile(L"C:\\box\\inner\\c.txt"), Result::kNotFound);
  EXPECT_EQ(files().DeleteFile(L"C:\\box\\inner\\moved.txt"), Result::kOk);
  EXPECT_EQ(files().RemoveFolder(L"C:\\BOX\\INNER"), Result::kOk);
  EXPECT_EQ(files().RemoveFolder(L"C:\\Box\\Inner"), Result::kNotFound);
}

TEST_F(StandinFileSystemTest, ChecksAccessWithThePosixRights) {
  constexpr std::uint32_t kRead = 0x80000000u, kWrite = 0x40000000u, kExecute = 0x20000000u;
  dir_.Write("drive_c/ro.txt", "x");
  dir_.Write("drive_c/run.sh", "x");
  ::chmod(Host("ro.txt").c_str(), 0444);
  ::chmod(Host("run.sh").c_str(), 0755);
  EXPECT_TRUE(files().CheckAccess(kRead, L"C:\\RO.txt"));
  EXPECT_TRUE(files().CheckAccess(kRead | kExecute, L"C:\\run.sh"));
  EXPECT_FALSE(files().CheckAccess(kRead, L"C:\\missing.txt"));
  EXPECT_FALSE(files().CheckAccess(kExecute, L"C:\\ro.txt"));
  if (::geteuid() != 0) {  // the superuser may write anything
    EXPECT_FALSE(files().CheckAccess(kWrite, L"C:\\ro.txt"));
  }
  FileEntry entry;
  ASSERT_EQ(files().Stat(L"C:\\ro.txt", &entry), Result::kOk);
  EXPECT_TRUE(entry.attributes & FileAttr::kReadOnly);
}

}  // namespace
}  // namespace brimlow::platform::standin
