#include "scan/FileProbe.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow::scan {
namespace {

// Whatever the walk notes, the caching probe answers every question the way
// the platform does: for the noted entry itself, for other spellings and
// for its neighbours.
TEST(FileProbeTest, NotedEntriesAnswerLikeThePlatform) {
  testing::ScratchSystem scratch;
  const std::wstring folder = scratch.Folder() + L"junk\\";
  auto& files = platform::Files();
  ASSERT_TRUE(platform::Ok(files.CreateFolder(folder + L"b.tmp")));
  ASSERT_TRUE(platform::Ok(files.WriteFileAtomic(folder + L"a.tmp", Bytes(3, 'a'))));

  std::vector<platform::FileEntry> entries;
  ASSERT_TRUE(platform::Ok(files.List(folder + L"*", &entries)));
  ASSERT_EQ(entries.size(), 2u);

  const std::wstring questions[] = {L"a.tmp", L"A.TMP", L"b.tmp", L"B.Tmp", L"c.tmp", L"b.tmp\\", L"a.tmp."};
  auto probe = MakeCachingFileProbe();
  FileProbe& direct = DirectFileProbe();
  for (const auto& noted : entries) {
    probe->NoteListedEntry(folder, noted);
    for (const auto& name : questions) {
      const std::wstring path = folder + name;
      EXPECT_EQ(probe->FileExists(path), direct.FileExists(path)) << ToUtf8(noted.name) << " noted, " << ToUtf8(path);
      EXPECT_EQ(probe->FolderExists(path), direct.FolderExists(path))
          << ToUtf8(noted.name) << " noted, " << ToUtf8(path);
    }
    probe->ForgetListedEntry();
  }
}

}  // namespace
}  // namespace brimlow::scan
