#include "cure/FigCure.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "base/PortableMainLoop.h"
#include "cure/BackupContent.h"
#include "cure/FigCureThread.h"
#include "cure/RegUtils.h"
#include "framework/utils/Paths.h"
#include "platform/Platform.h"
#include "regfile/RegFile.h"
#include "support/ScratchSystem.h"

namespace brimlow::cure {
namespace {

using platform::RegValue;
using scan::TFigScanedItem;

std::wstring Snapshot(platform::RegRoot root, const std::wstring& path) {
  regfile::RegFileWriter writer;
  if (regfile::ExportKeyTree(platform::Reg(), root, path, &writer) != platform::Result::kOk) return L"<missing>";
  return writer.Text();
}

RegValue Raw(const std::wstring& name, std::uint32_t type, Bytes data) { return {name, type, std::move(data)}; }

class FigCureTest : public ::testing::Test {
 protected:
  FigCureTest() {
    backup_ = scratch_.Folder() + L"backup";
    platform::Files().CreateFolder(backup_);
    cure_.SetBackupPath(backup_);
    cure_.SetCureDuration(0);
    cure_.OnCured = [this](TFigScanedItem& item, scan::TFigCureStatus status, int index, int max) {
      events_.push_back("cured " + std::to_string(index) + "/" + std::to_string(max) + " " +
                        ToUtf8(scan::NameOf(status)) + " " + ToUtf8(item.TopicName));
    };
    cure_.OnTopicCured = [this](const std::wstring& name, scan::TTopicStatus status) {
      events_.push_back("topic " + ToUtf8(name) + " " + ToUtf8(scan::NameOf(status)));
    };
    cure_.OnAbort = [this](void*) { events_.push_back("abort"); };
    cure_.OnFinished = [this](void*) { events_.push_back("finished"); };
    cure_.OnStarted = [this](void*) { events_.push_back("started"); };
  }

  TFigScanedItem RegistryItem(const std::wstring& topic, const std::wstring& path, const std::wstring& value,
                              bool value_check) {
    TFigScanedItem item;
    item.TopicName = topic;
    item.LocationStyle = scan::lsRegistry;
    item.ScanedRoot = L"HKEY_CURRENT_USER";
    item.ScanedPath = path;
    item.ScanedSection = value;
    item.ValueCheck = value_check;
    item.Checked = true;
    return item;
  }

  TFigScanedItem FileItem(const std::wstring& folder, const std::wstring& name) {
    TFigScanedItem item;
    item.TopicName = L"Junk";
    item.LocationStyle = scan::lsDisk;
    item.RuleStyle = scan::rsJunkFile;
    item.ScanedRoot = item.ScanedPath = folder;
    item.ScanedName = name;
    item.Checked = true;
    return item;
  }

  bool RunCure() {
    if (!cure_.StartCure()) return false;
    return loop_.RunUntil([&] { return !cure_.IsRunning(); }, std::chrono::seconds(30));
  }

  std::string IndexFile() {
    Bytes bytes;
    platform::Files().ReadFile(CombinePath(backup_, L"info.rec"), &bytes);
    return std::string(bytes.begin(), bytes.end());
  }

  testing::ScratchSystem scratch_;
  PortableMainLoop loop_;
  TFigCure cure_{loop_};
  std::wstring backup_;
  std::vector<std::string> events_;
};

TEST_F(FigCureTest, CureThenRestoreLeavesTheRegistryAsBefore) {
  auto& reg = platform::Reg();
  const auto root = scratch_.RegRoot();
  const std::wstring base = scratch_.RegPath();
  // A key to delete whole: values of every type, a subkey with values, an
  // empty subkey.
  const std::wstring app = base + L"\\App";
  reg.SetValue(root, app, platform::MakeStringValue(L"", L"default"));
  reg.SetValue(root, app, platform::MakeStringValue(L"Path", L"%ProgramFiles%\\App", platform::RegType::kExpandSz));
  reg.SetValue(root, app, Raw(L"List", platform::RegType::kMultiSz, ToUtf16LeBytes(std::wstring(L"a\0b\0\0", 5))));
  reg.SetValue(root, app, Raw(L"Big", platform::RegType::kQword, {1, 2, 3, 4, 5, 6, 7, 8}));
  reg.SetValue(root, app, Raw(L"Bin", platform::RegType::kBinary, {0, 0x7F, 0xFF}));
  reg.SetValue(root, app, Raw(L"Odd", 0x20, {9, 9}));
  reg.SetValue(root, app + L"\\Sub", platform::MakeDwordValue(L"n", 42));
  reg.CreateKey(root, app + L"\\Sub\\Empty");
  // Single values to delete: every type.
  const std::wstring vals = base + L"\\Values";
  reg.SetValue(root, vals, platform::MakeStringValue(L"Quote\\Name", L"say \"hi\" C:\\x"));
  reg.SetValue(root, vals, platform::MakeStringValue(L"Expand", L"%TEMP%\\x", platform::RegType::kExpandSz));
  reg.SetValue(root, vals, Raw(L"Multi", platform::RegType::kMultiSz, ToUtf16LeBytes(std::wstring(L"x\0\0", 3))));
  reg.SetValue(root, vals, Raw(L"Q", platform::RegType::kQword, {8, 7, 6, 5, 4, 3, 2, 1}));
  reg.SetValue(root, vals, platform::MakeDwordValue(L"D", 0xFFFFFFFFu));
  const std::wstring before = Snapshot(root, base);

  cure_.AddMatchedItem(RegistryItem(L"Keys", app, L"", false));
  for (const wchar_t* name : {L"Quote\\Name", L"Expand", L"Multi", L"Q", L"D"}) {
    cure_.AddMatchedItem(RegistryItem(L"Values", vals, name, true));
  }
  ASSERT_TRUE(RunCure());
  EXPECT_EQ(reg.KeyExists(root, app), platform::Result::kNotFound);
  std::uint32_t subkeys = 0, values = 1;
  reg.CountChildren(root, vals, &subkeys, &values);
  EXPECT_EQ(values, 0u);

  ASSERT_TRUE(ImportRegFile(cure_.LastBackupFile()));
  EXPECT_EQ(ToUtf8(Snapshot(root, base)), ToUtf8(before));
}

TEST_F(FigCureTest, EventsStatusesAndIndexLine) {
  const auto root = scratch_.RegRoot();
  const std::wstring key = scratch_.RegPath() + L"\\K";
  platform::Reg().SetValue(root, key, platform::MakeStringValue(L"v", L"1"));
  platform::Files().WriteFileAtomic(scratch_.Folder() + L"a.tmp", Bytes{1});

  TFigScanedItem unchecked = RegistryItem(L"Skipped", key, L"v", true);
  unchecked.Checked = false;
  cure_.AddMatchedItem(unchecked);
  cure_.AddMatchedItem(RegistryItem(L"Value", key, L"v", true));
  cure_.AddMatchedItem(RegistryItem(L"GoneValue", key, L"", true));
  cure_.AddMatchedItem(RegistryItem(L"GoneKeyValue", key + L"\\gone", L"v", true));
  cure_.AddMatchedItem(RegistryItem(L"GoneKey", key + L"\\gone", L"", false));
  cure_.AddMatchedItem(FileItem(scratch_.Folder(), L"a.tmp"));
  cure_.AddMatchedItem(FileItem(scratch_.Folder(), L"removed.tmp"));
  ASSERT_TRUE(RunCure());

  EXPECT_EQ(events_, (std::vector<std::string>{
                         "started", "cured 1/7 csCured Value", "topic Value tsCured",
                         "cured 2/7 csIgnored GoneValue", "topic GoneValue tsCured",
                         "cured 3/7 csIgnored GoneKeyValue", "topic GoneKeyValue tsCured",
                         "cured 4/7 csUncured GoneKey", "topic GoneKey tsCured", "cured 5/7 csCured Junk",
                         "topic Junk tsCured", "cured 6/7 csIgnored Junk", "topic Junk tsCured", "finished"}));
  const std::string index = IndexFile();
  const std::string file = ToUtf8(ExtractFileName(cure_.LastBackupFile()));
  EXPECT_EQ(index.size(), 19 + 3 + file.size() + 2);
  EXPECT_EQ(index.substr(19), ",7," + file + "\r\n");
  EXPECT_EQ(file.size(), 18u);
}

// An abort before the first item, whether the worker has not reached it yet
// or already waits for the main thread to cure it, cures nothing.
TEST_F(FigCureTest, AbortBeforeTheFirstItemLeavesIndexLineAndHeaderOnlyBackup) {
  const auto root = scratch_.RegRoot();
  const std::wstring key = scratch_.RegPath() + L"\\K";
  for (const auto wait : {std::chrono::milliseconds(0), std::chrono::milliseconds(200)}) {
    SCOPED_TRACE(wait.count());
    events_.clear();
    cure_.Clear();
    platform::Reg().SetValue(root, key, platform::MakeStringValue(L"v", L"1"));
    cure_.AddMatchedItem(RegistryItem(L"Value", key, L"v", true));
    ASSERT_TRUE(cure_.StartCure());
    std::this_thread::sleep_for(wait);
    cure_.Abort();
    loop_.RunUntil([&] { return !cure_.IsRunning(); }, std::chrono::seconds(10));
    EXPECT_EQ(events_, (std::vector<std::string>{"started", "abort", "finished"}));
    Bytes backup;
    ASSERT_EQ(platform::Files().ReadFile(cure_.LastBackupFile(), &backup), platform::Result::kOk);
    EXPECT_EQ(backup, TRegExporter().Stream());
    RegValue kept;
    EXPECT_EQ(platform::Reg().QueryValue(root, key, L"v", &kept), platform::Result::kOk);
  }
}

TEST_F(FigCureTest, TwoCuresInTheSameSecondKeepTwoBackups) {
  ASSERT_TRUE(RunCure());
  const std::wstring first = cure_.LastBackupFile();
  ASSERT_TRUE(RunCure());
  const std::wstring second = cure_.LastBackupFile();
  EXPECT_NE(first, second);
  const std::string index = IndexFile();
  EXPECT_NE(index.find(ToUtf8(ExtractFileName(first))), std::string::npos);
  EXPECT_NE(index.find(ToUtf8(ExtractFileName(second))), std::string::npos);
}

TEST_F(FigCureTest, OptimisationValuesAreMergedWithSingleBackslashes) {
  const auto root = scratch_.RegRoot();
  const std::wstring key = scratch_.RegPath() + L"\\Opt";
  platform::Reg().SetValue(root, key, platform::MakeStringValue(L"Dir", L"old"));
  TFigScanedItem item;
  item.TopicName = L"Boost";
  item.LocationStyle = scan::lsRegistryItem;
  item.ScanedRoot = L"HKEY_CURRENT_USER";
  item.ScanedPath = key;
  item.ScanedSection = L"Dir";
  item.ScanedName = L"\"Dir\"=\"C:\\Temp\\Cache\"";
  item.Checked = true;
  cure_.AddMatchedItem(item);
  item.ScanedSection = L"Level";
  item.ScanedName = L"\"Level\"=DWORD:0000000A";
  cure_.AddMatchedItem(item);
  ASSERT_TRUE(RunCure());
  RegValue value;
  ASSERT_EQ(platform::Reg().QueryValue(root, key, L"Dir", &value), platform::Result::kOk);
  EXPECT_EQ(platform::RegValueText(value), L"C:\\Temp\\Cache");
  ASSERT_EQ(platform::Reg().QueryValue(root, key, L"Level", &value), platform::Result::kOk);
  EXPECT_EQ(platform::RegValueDword(value), 10u);
  // The backup holds the value as it was before the merge, and takes back
  // the value the merge created.
  Bytes backup;
  ASSERT_EQ(platform::Files().ReadFile(cure_.LastBackupFile(), &backup), platform::Result::kOk);
  EXPECT_EQ(CountBackupChanges(backup), 2);
  ASSERT_TRUE(ImportRegFile(cure_.LastBackupFile()));
  ASSERT_EQ(platform::Reg().QueryValue(root, key, L"Dir", &value), platform::Result::kOk);
  EXPECT_EQ(platform::RegValueText(value), L"old");
  EXPECT_EQ(platform::Reg().QueryValue(root, key, L"Level", &value), platform::Result::kNotFound);
  std::vector<std::wstring> missing;
  EXPECT_TRUE(BackupIsInRegistry(backup, &missing));
  EXPECT_TRUE(missing.empty());
  platform::Reg().SetValue(root, key, platform::MakeDwordValue(L"Level", 10));
  EXPECT_TRUE(BackupIsInRegistry(backup, &missing));
  EXPECT_EQ(missing.size(), 1u);
}

TEST_F(FigCureTest, ListOperationsAndEmptyCure) {
  EXPECT_EQ(cure_.GetMatchedItem(0).TopicName, L"");
  cure_.SetChecked(0, true);
  TFigScanedItem item = FileItem(L"C:\\", L"x");
  item.Checked = false;
  cure_.AddMatchedItem(item);
  cure_.SetChecked(1, true);
  EXPECT_EQ(cure_.GetCheckedItem(), 0);
  cure_.SetChecked(0, true);
  EXPECT_EQ(cure_.GetCheckedItem(), 1);
  cure_.Clear();
  EXPECT_EQ(cure_.ItemCount(), 0);
  ASSERT_TRUE(RunCure());
  EXPECT_EQ(events_, (std::vector<std::string>{"started", "finished"}));
}

TEST(CureSlotTest, DividesTheDurationAmongTheItems) {
  EXPECT_EQ(CureSlot(12000, 1), 12000);
  EXPECT_EQ(CureSlot(12000, 24), 500);
  EXPECT_EQ(CureSlot(12000, 7), 1714);
  EXPECT_EQ(CureSlot(12000, 0), 0);
  EXPECT_EQ(TFigCure::kDefaultCureDuration, 12000);
}

}  // namespace
}  // namespace brimlow::cure
