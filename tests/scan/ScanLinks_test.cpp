// Links and junctions inside a junk folder: the scan never follows nor
// reports them, and the cure never deletes through them. The links are made
// on the host side of the system (a symbolic link in the stand-in image;
// the platform's own symbolic link in the Windows build, where the test is
// skipped if the system cannot make one).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <system_error>

#include "base/PortableMainLoop.h"
#include "cure/FigCure.h"
#include "cure/FigCureThread.h"
#include "platform/Platform.h"
#include "scan/VazArovov.h"
#include "support/ScratchSystem.h"

namespace brimlow::scan {
namespace {

namespace fs = std::filesystem;

class ScanLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    junk_ = scratch_.Folder() + L"junk\\";
    outside_ = scratch_.Folder() + L"precious\\";
    auto& files = platform::Files();
    files.CreateFolder(junk_);
    files.CreateFolder(outside_);
    files.WriteFileAtomic(junk_ + L"a.tmp", Bytes(3, 'a'));
    files.WriteFileAtomic(outside_ + L"victim.tmp", Bytes(5, 'v'));
    files.WriteFileAtomic(outside_ + L"single.tmp", Bytes(7, 's'));
    std::error_code ec;
    fs::create_directory_symlink(scratch_.HostPath(outside_), scratch_.HostPath(junk_ + L"linkdir"), ec);
    if (!ec) fs::create_symlink(scratch_.HostPath(outside_ + L"single.tmp"), scratch_.HostPath(junk_ + L"link.tmp"), ec);
    if (ec) GTEST_SKIP() << "this system cannot make a symbolic link: " << ec.message();
  }

  bool Exists(const std::wstring& path) {
    platform::FileEntry entry;
    return platform::Files().Stat(path, &entry) == platform::Result::kOk;
  }

  testing::ScratchSystem scratch_;
  PortableMainLoop loop_;
  std::wstring junk_;
  std::wstring outside_;
};

TEST_F(ScanLinksTest, TheFileSystemReportsLinksAsReparsePoints) {
  for (const std::wstring name : {L"linkdir", L"link.tmp"}) {
    platform::FileEntry entry;
    ASSERT_EQ(platform::Files().Stat(junk_ + name, &entry), platform::Result::kOk) << ToUtf8(name);
    EXPECT_TRUE(entry.IsReparsePoint()) << ToUtf8(name);
  }
}

TEST_F(ScanLinksTest, AJunkScanNeitherFollowsNorReportsLinks) {
  TVazArovov engine(loop_);
  engine.SetMinimumScanTime(0);
  TFigTopic& topic = *engine.GetTopic(engine.AddTopic(L"Junk"));
  topic.SetValue(L"Category", L"tcCJunkFile");
  topic.SetValue(L"Rule", L"rsJunkFile,.tmp");
  topic.SetValue(L"LOCATION_0", L"lsDisk," + junk_);
  topic.SetValue(L"IncludeSubFolder", L"1");
  topic.SetEnabled(true);
  std::vector<std::wstring> found;
  engine.OnTopicMatched = [&](TFigScanedItem& item) { found.push_back(item.ScanedPath + item.ScanedName); };
  engine.StartScan();
  ASSERT_TRUE(loop_.RunUntil([&] { return !engine.IsRunning(); }, std::chrono::seconds(20)));
  EXPECT_EQ(found, std::vector<std::wstring>{junk_ + L"a.tmp"});
  EXPECT_EQ(engine.Summary().AllCount, 1) << "a link was handed to the rules";
}

TEST_F(ScanLinksTest, TheCureLeavesFilesReachedThroughLinks) {
  EXPECT_TRUE(cure::IsPlainFile(junk_ + L"a.tmp"));
  EXPECT_FALSE(cure::IsPlainFile(junk_ + L"link.tmp"));
  EXPECT_FALSE(cure::IsPlainFile(junk_ + L"linkdir\\victim.tmp"));
  EXPECT_FALSE(cure::IsPlainFile(junk_));

  cure::TFigCure cure(loop_);
  cure.SetBackupPath(scratch_.Folder() + L"backup");
  platform::Files().CreateFolder(scratch_.Folder() + L"backup");
  cure.SetCureDuration(0);
  const struct {
    std::wstring folder, name;
    TFigCureStatus status;
  } cases[] = {
      {junk_ + L"linkdir\\", L"victim.tmp", csIgnored},
      {junk_, L"link.tmp", csIgnored},
      {junk_, L"a.tmp", csCured},
  };
  for (const auto& c : cases) {
    TFigScanedItem item;
    item.TopicName = L"Junk";
    item.LocationStyle = lsDisk;
    item.RuleStyle = rsJunkFile;
    item.ScanedRoot = item.ScanedPath = c.folder;
    item.ScanedName = c.name;
    item.Checked = true;
    cure.AddMatchedItem(item);
  }
  std::vector<TFigCureStatus> statuses;
  cure.OnCured = [&](TFigScanedItem&, TFigCureStatus status, int, int) { statuses.push_back(status); };
  ASSERT_TRUE(cure.StartCure());
  ASSERT_TRUE(loop_.RunUntil([&] { return !cure.IsRunning(); }, std::chrono::seconds(20)));
  ASSERT_EQ(statuses.size(), std::size(cases));
  for (std::size_t i = 0; i < statuses.size(); ++i) EXPECT_EQ(statuses[i], cases[i].status) << ToUtf8(cases[i].name);
  EXPECT_TRUE(Exists(outside_ + L"victim.tmp"));
  EXPECT_TRUE(Exists(outside_ + L"single.tmp"));
  EXPECT_TRUE(Exists(junk_ + L"link.tmp"));
  EXPECT_FALSE(Exists(junk_ + L"a.tmp"));
}

}  // namespace
}  // namespace brimlow::scan
