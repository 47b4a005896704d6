// The file behaviour every platform must share, run against the platform in
// force inside a scratch system: the machine's files in the Windows build,
// the image's drive folders in the stand-in build.

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow::platform {
namespace {

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

class FileSystemContract : public ::testing::Test {
 protected:
  // A path in the scratch folder (which ends in a backslash).
  std::wstring Path(const std::wstring& relative) const { return scratch_.Folder() + relative; }
  void Write(const std::wstring& relative, const Bytes& content) {
    ASSERT_EQ(Files().WriteFileAtomic(Path(relative), content), Result::kOk) << ToUtf8(relative);
  }
  Bytes Read(const std::wstring& relative) {
    Bytes content;
    EXPECT_EQ(Files().ReadFile(Path(relative), &content), Result::kOk) << ToUtf8(relative);
    return content;
  }
  // The names a mask lists, sorted (the listing order is the platform's).
  std::vector<std::wstring> Names(const std::wstring& mask) {
    std::vector<FileEntry> entries;
    EXPECT_EQ(Files().List(Path(mask), &entries), Result::kOk) << ToUtf8(mask);
    std::vector<std::wstring> names;
    for (const auto& entry : entries) names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::ScratchSystem scratch_;
};

TEST_F(FileSystemContract, StatTellsFilesFoldersAndMissingPathsApart) {
  Write(L"file.txt", Text("12345"));
  ASSERT_EQ(Files().CreateFolder(Path(L"Folder")), Result::kOk);
  const struct {
    std::wstring path;
    Result result;
    bool folder;
    const char* name;
  } cases[] = {
      {L"file.txt", Result::kOk, false, "file.txt"},
      {L"FILE.TXT", Result::kOk, false, nullptr},  // names ignore case
      {L"Folder", Result::kOk, true, "Folder"},
      {L"folder\\", Result::kOk, true, nullptr},  // trailing backslash
      {L"missing.txt", Result::kNotFound, false, nullptr},
      {L"missing\\file.txt", Result::kNotFound, false, nullptr},
      {L"file.txt\\below", Result::kNotFound, false, nullptr},  // a file is no folder
  };
  for (const auto& c : cases) {
    FileEntry entry;
    EXPECT_EQ(Files().Stat(Path(c.path), &entry), c.result) << ToUtf8(c.path);
    if (c.result != Result::kOk) continue;
    EXPECT_EQ(entry.IsFolder(), c.folder) << ToUtf8(c.path);
    if (c.name) {
      EXPECT_EQ(entry.name, FromUtf8(c.name));
    }
  }
}

TEST_F(FileSystemContract, ListingMatchesMasksWithoutRegardToCase) {
  for (const wchar_t* name : {L"a.txt", L"b.TXT", L"c.log", L"d.txt.bak", L"ab.log"})
    Write(name, Text("x"));
  ASSERT_EQ(Files().CreateFolder(Path(L"sub.txt")), Result::kOk);
  const struct {
    std::wstring mask;
    std::vector<std::wstring> names;
  } cases[] = {
      {L"*", {L"a.txt", L"ab.log", L"b.TXT", L"c.log", L"d.txt.bak", L"sub.txt"}},
      {L"*.txt", {L"a.txt", L"b.TXT", L"sub.txt"}},
      {L"*.LOG", {L"ab.log", L"c.log"}},
      {L"?.log", {L"c.log"}},
      {L"a*", {L"a.txt", L"ab.log"}},
      {L"*.xyz", {}},
      {L"c.log", {L"c.log"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Names(c.mask), c.names) << ToUtf8(c.mask);

  std::vector<FileEntry> entries;
  ASSERT_EQ(Files().List(Path(L"sub.txt"), &entries), Result::kOk);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries[0].IsFolder());
  EXPECT_EQ(Files().List(Path(L"missing\\*"), &entries), Result::kNotFound);
}

TEST_F(FileSystemContract, SizesComeFromStatAndListing) {
  Bytes large(70000);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<std::uint8_t>(i);
  const struct {
    std::wstring name;
    Bytes content;
  } cases[] = {{L"empty.bin", {}}, {L"five.bin", Text("hello")}, {L"large.bin", large}};
  for (const auto& c : cases) Write(c.name, c.content);

  std::vector<FileEntry> entries;
  ASSERT_EQ(Files().List(Path(L"*.bin"), &entries), Result::kOk);
  ASSERT_EQ(entries.size(), std::size(cases));
  for (const auto& c : cases) {
    FileEntry entry;
    ASSERT_EQ(Files().Stat(Path(c.name), &entry), Result::kOk);
    EXPECT_EQ(entry.size, c.content.size()) << ToUtf8(c.name);
    const auto listed = std::find_if(entries.begin(), entries.end(),
                                     [&](const FileEntry& e) { return e.name == c.name; });
    ASSERT_NE(listed, entries.end()) << ToUtf8(c.name);
    EXPECT_EQ(listed->size, c.content.size()) << ToUtf8(c.name);
    EXPECT_EQ(Read(c.name), c.content) << ToUtf8(c.name);
  }
}

TEST_F(FileSystemContract, AtomicWriteReplacesTheWholeFileAndLeavesNothingBeside) {
  Write(L"data.txt", Text("a long first content"));
  Write(L"data.txt", Text("short"));
  EXPECT_EQ(Read(L"data.txt"), Text("short"));
  EXPECT_EQ(Names(L"*"), std::vector<std::wstring>{L"data.txt"});
  EXPECT_NE(Files().WriteFileAtomic(Path(L"missing\\data.txt"), Text("x")), Result::kOk);
}

TEST_F(FileSystemContract, AppendCreatesThenAppends) {
  ASSERT_EQ(Files().AppendFile(Path(L"log.txt"), Text("one\n")), Result::kOk);
  ASSERT_EQ(Files().AppendFile(Path(L"log.txt"), Text("two\n")), Result::kOk);
  EXPECT_EQ(Read(L"log.txt"), Text("one\ntwo\n"));
}

TEST_F(FileSystemContract, RenameMovesAndReplaces) {
  Write(L"from.txt", Text("moved"));
  Write(L"to.txt", Text("old"));
  ASSERT_EQ(Files().Rename(Path(L"from.txt"), Path(L"to.txt")), Result::kOk);
  EXPECT_EQ(Read(L"to.txt"), Text("moved"));
  FileEntry entry;
  EXPECT_EQ(Files().Stat(Path(L"from.txt"), &entry), Result::kNotFound);
  EXPECT_EQ(Files().Rename(Path(L"from.txt"), Path(L"again.txt")), Result::kNotFound);
}

TEST_F(FileSystemContract, DeleteCreateAndRemoveFolders) {
  Write(L"gone.txt", Text("x"));
  EXPECT_EQ(Files().DeleteFile(Path(L"gone.txt")), Result::kOk);
  EXPECT_EQ(Files().DeleteFile(Path(L"gone.txt")), Result::kNotFound);
  Bytes content;
  EXPECT_EQ(Files().ReadFile(Path(L"gone.txt"), &content), Result::kNotFound);

  ASSERT_EQ(Files().CreateFolder(Path(L"x\\y\\z")), Result::kOk);
  EXPECT_EQ(Files().CreateFolder(Path(L"x\\y\\z")), Result::kOk);  // already there
  FileEntry entry;
  ASSERT_EQ(Files().Stat(Path(L"x\\y\\z"), &entry), Result::kOk);
  EXPECT_TRUE(entry.IsFolder());
  EXPECT_NE(Files().RemoveFolder(Path(L"x\\y")), Result::kOk);  // not empty
  EXPECT_EQ(Files().RemoveFolder(Path(L"x\\y\\z")), Result::kOk);
  EXPECT_EQ(Files().Stat(Path(L"x\\y\\z"), &entry), Result::kNotFound);
}

}  // namespace
}  // namespace brimlow::platform
