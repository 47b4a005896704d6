#include "cure/BackupIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cure/BackupWriter.h"
#include "cure/RegUtils.h"
#include "framework/utils/Paths.h"
#include "platform/Platform.h"
#include "regfile/RegFile.h"
#include "support/ScratchSystem.h"

namespace brimlow::cure {
namespace {

using platform::RegValue;

constexpr wchar_t kHeader[] = L"Windows Registry Editor Version 5.00\r\n\r\n";

Bytes RegFileBytes(const std::wstring& text) {
  Bytes bytes{0xFF, 0xFE};
  const Bytes body = ToUtf16LeBytes(text);
  bytes.insert(bytes.end(), body.begin(), body.end());
  return bytes;
}

// A backup in the cure's one-value layout with `sections` value sections.
std::wstring SectionBackup(int sections) {
  std::wstring text = kHeader;
  for (int i = 0; i < sections; ++i) {
    text += L"[HKEY_CURRENT_USER\\Software\\T]\r\n\"v" + std::to_wstring(i) + L"\"=\"x\"\r\n\r\n";
  }
  return text;
}

std::string Utf8(const std::vector<std::wstring>& lines) {
  std::string all;
  for (const auto& line : lines) all += ToUtf8(line) + "|";
  return all;
}

class BackupIndexTest : public ::testing::Test {
 protected:
  BackupIndexTest() : folder_(scratch_.Folder() + L"backup") { platform::Files().CreateFolder(folder_); }

  std::wstring PathOf(const std::wstring& name) { return CombinePath(folder_, name); }
  void WriteBackup(const std::wstring& name, const std::wstring& text) {
    ASSERT_EQ(platform::Files().WriteFileAtomic(PathOf(name), RegFileBytes(text)), platform::Result::kOk);
  }
  bool Exists(const std::wstring& name) {
    platform::FileEntry entry;
    return platform::Files().Stat(PathOf(name), &entry) == platform::Result::kOk;
  }
  void WriteIndex(const std::vector<std::wstring>& lines) {
    std::string text;
    for (const auto& line : lines) text += ToAnsi(line) + "\r\n";
    platform::Files().WriteFileAtomic(PathOf(L"info.rec"), Bytes(text.begin(), text.end()));
  }
  std::string IndexText() {
    Bytes bytes;
    platform::Files().ReadFile(PathOf(L"info.rec"), &bytes);
    return std::string(bytes.begin(), bytes.end());
  }
  std::string Captions(const TBackupIndex& index) {
    std::string all;
    for (const BackupRow& row : index.Rows()) all += ToUtf8(row.caption) + "=" + ToUtf8(row.changes) + " ";
    return all;
  }

  testing::ScratchSystem scratch_;
  std::wstring folder_;
};

// Five cures, oldest first; `files` says which of their backups are on disk
// ('1' one section, 'h' header only, '-' missing), `lines` which index
// lines are well-formed ('3' three fields, '2' two).
TEST_F(BackupIndexTest, ListsNewestFirstAndPrunesByPosition) {
  struct Case {
    const char* what;
    int max_backup;
    std::string files;
    std::string fields;
    std::string rows;          // listed captions and counts
    std::string kept_files;    // which of the five files remain ('x')
    std::string kept_lines;    // which lines remain ('x')
  } cases[] = {
      {"all present", 3, "11111", "33333", "t5=1 t4=1 t3=1 ", "..xxx", "..xxx"},
      {"newest file missing", 3, "1111-", "33333", "t4=1 t3=1 ", "..xx-", "..xxx"},
      {"newest line has two fields", 3, "11111", "33332", "t4=1 t3=1 ", "..xxx", "..xxx"},
      {"header-only backup counts toward the limit", 3, "111h1", "33333", "t5=1 t3=1 ", "..xxx", "..xxx"},
      {"missing old file keeps its line", 2, "-1111", "33333", "t5=1 t4=1 ", "-..xx", "x..xx"},
      {"limit above the count", 10, "11111", "33333", "t5=1 t4=1 t3=1 t2=1 t1=1 ", "xxxxx", "xxxxx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::wstring> lines;
    for (int i = 0; i < 5; ++i) {
      const std::wstring n = std::to_wstring(i + 1);
      const std::wstring file = L"b" + n + L".reg";
      platform::Files().DeleteFile(PathOf(file));
      if (c.files[i] == '1') WriteBackup(file, SectionBackup(1));
      if (c.files[i] == 'h') WriteBackup(file, SectionBackup(0));
      lines.push_back(c.fields[i] == '3' ? L"t" + n + L",1," + file : L"t" + n + L",1");
    }
    WriteIndex(lines);

    TBackupIndex index;
    std::wstring error;
    ASSERT_TRUE(index.Open(folder_, c.max_backup, &error)) << ToUtf8(error);
    EXPECT_EQ(Captions(index), c.rows);
    std::string kept_files, kept_lines;
    for (int i = 0; i < 5; ++i) {
      const std::wstring n = std::to_wstring(i + 1);
      kept_files += Exists(L"b" + n + L".reg") ? 'x' : (c.files[i] == '-' ? '-' : '.');
      kept_lines += IndexText().find("t" + ToUtf8(n) + ",") != std::string::npos ? 'x' : '.';
    }
    EXPECT_EQ(kept_files, c.kept_files);
    EXPECT_EQ(kept_lines, c.kept_lines);
    // Every row still names its own line after the pruning.
    for (const BackupRow& row : index.Rows()) {
      EXPECT_EQ(index.InfoFile()[row.index_line].substr(0, row.caption.size() + 1), row.caption + L",");
    }
  }
}

TEST_F(BackupIndexTest, MissingIndexIsCreatedEmpty) {
  TBackupIndex index;
  std::wstring error;
  ASSERT_TRUE(index.Open(folder_, 10, &error)) << ToUtf8(error);
  EXPECT_TRUE(index.Rows().empty());
  EXPECT_TRUE(Exists(L"info.rec"));
  EXPECT_EQ(IndexText(), "");
}

TEST_F(BackupIndexTest, DeletingTheNewestOfThreeRemovesExactlyItsLine) {
  for (const wchar_t* name : {L"a.reg", L"b.reg", L"c.reg"}) WriteBackup(name, SectionBackup(2));
  // An unlisted line first, so that "the first line" and "the row's line"
  // differ.
  WriteIndex({L"junk", L"ta,2,a.reg", L"tb,2,b.reg", L"tc,2,c.reg"});
  TBackupIndex index;
  std::wstring error;
  ASSERT_TRUE(index.Open(folder_, 10, &error));
  ASSERT_EQ(Captions(index), "tc=2 tb=2 ta=2 ");

  bool kept = true;
  ASSERT_TRUE(index.Delete(0, &error, &kept)) << ToUtf8(error);
  EXPECT_FALSE(kept);
  EXPECT_FALSE(Exists(L"c.reg"));
  EXPECT_EQ(IndexText(), "junk\r\nta,2,a.reg\r\ntb,2,b.reg\r\n");
  EXPECT_EQ(Captions(index), "tb=2 ta=2 ");
  // The remaining rows still point at their own lines.
  ASSERT_TRUE(index.Delete(1, &error));
  EXPECT_EQ(IndexText(), "junk\r\ntb,2,b.reg\r\n");
  EXPECT_TRUE(Exists(L"b.reg"));

  EXPECT_FALSE(index.Delete(5, &error));
  EXPECT_EQ(IndexText(), "junk\r\ntb,2,b.reg\r\n");
}

TEST(BackupChangeCountTest, CountsTheValuesAndKeysABackupRestores) {
  const std::wstring key = L"[HKEY_CURRENT_USER\\Software\\T]\r\n";
  struct Case {
    const char* what;
    std::wstring text;
    int count;
  } cases[] = {
      {"header only", kHeader, 0},
      {"one section (5 lines)", SectionBackup(1), 1},
      {"three sections", SectionBackup(3), 3},
      // A value in display form followed by its lossless form is one change.
      {"display then lossless form", std::wstring(kHeader) + key + L"\"p\"=\"%X%\"\r\n\r\n" + key +
                                         L"\"p\"=hex(2):25,00,58,00,25,00,00,00\r\n\r\n",
       1},
      {"continuation lines", std::wstring(kHeader) + key + L"\"m\"=hex(7):61,00,00,00,\\\r\n  00,00\r\n\r\n", 1},
      {"names differ only in case", std::wstring(kHeader) + key + L"\"A\"=\"1\"\r\n\r\n" +
                                        L"[HKEY_CURRENT_USER\\SOFTWARE\\t]\r\n\"a\"=\"1\"\r\n\r\n",
       1},
      // A deleted key's subtree: its values, and the empty subkey it held.
      {"key subtree with an empty subkey", std::wstring(kHeader) + key + L"@=\"d\"\r\n\"n\"=dword:00000001\r\n\r\n" +
                                               L"[HKEY_CURRENT_USER\\Software\\T\\Mid]\r\n\r\n" +
                                               L"[HKEY_CURRENT_USER\\Software\\T\\Mid\\Leaf]\r\n\r\n",
       3},
      // Older files the reader rejects still count by their lines.
      {"unreadable old layout", std::wstring(kHeader) + key + L"\"v\"=\"say \"hi\"\"\r\n\r\n", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CountBackupChanges(RegFileBytes(c.text)), c.count) << c.what;
  }
  EXPECT_EQ(CountBackupChanges(Bytes{}), 0);
}

// Answers "not there" for one value, however it was written: a registry
// that silently refused it.
class RefusingRegistry : public platform::Registry {
 public:
  RefusingRegistry(platform::Registry& inner, std::wstring name) : inner_(inner), name_(std::move(name)) {}
  using R = platform::Result;
  using Root = platform::RegRoot;
  R KeyExists(Root r, const std::wstring& p) override { return inner_.KeyExists(r, p); }
  R SubKeyNames(Root r, const std::wstring& p, std::vector<std::wstring>* n) override {
    return inner_.SubKeyNames(r, p, n);
  }
  R Values(Root r, const std::wstring& p, std::vector<RegValue>* v) override { return inner_.Values(r, p, v); }
  R QueryValue(Root r, const std::wstring& p, const std::wstring& n, RegValue* v) override {
    return SameText(n, name_) ? R::kNotFound : inner_.QueryValue(r, p, n, v);
  }
  R CountChildren(Root r, const std::wstring& p, std::uint32_t* s, std::uint32_t* v) override {
    return inner_.CountChildren(r, p, s, v);
  }
  R CreateKey(Root r, const std::wstring& p) override { return inner_.CreateKey(r, p); }
  R SetValue(Root r, const std::wstring& p, const RegValue& v) override {
    return SameText(v.name, name_) ? R::kOk : inner_.SetValue(r, p, v);
  }
  R DeleteValue(Root r, const std::wstring& p, const std::wstring& n) override { return inner_.DeleteValue(r, p, n); }
  R DeleteKeyTree(Root r, const std::wstring& p) override { return inner_.DeleteKeyTree(r, p); }

 private:
  platform::Registry& inner_;
  std::wstring name_;
};

class BackupRestoreTest : public BackupIndexTest {
 protected:
  // Backs up a key with values of several types and an empty subkey, as a
  // cure would, deletes it, and lists the backup.
  void CureKey() {
    auto& reg = platform::Reg();
    reg.SetValue(root_, key_, platform::MakeStringValue(L"s", L"text"));
    reg.SetValue(root_, key_, platform::MakeStringValue(L"e", L"%TEMP%\\x", platform::RegType::kExpandSz));
    reg.SetValue(root_, key_, RegValue{L"m", platform::RegType::kMultiSz, ToUtf16LeBytes(std::wstring(L"a\0\0", 3))});
    reg.SetValue(root_, key_, platform::MakeDwordValue(L"d", 7));
    reg.CreateKey(root_, key_ + L"\\Empty");
    before_ = Snapshot();
    BackupWriter writer;
    std::wstring error;
    ASSERT_TRUE(writer.Begin(PathOf(L"12102026101010.reg"), &error)) << ToUtf8(error);
    writer.AddKeyTree(L"HKEY_CURRENT_USER", key_, L"s");
    ASSERT_EQ(reg.DeleteKeyTree(root_, key_), platform::Result::kOk);
    WriteIndex({L"2026-12-10 10:10:10,1,12102026101010.reg"});
    ASSERT_TRUE(index_.Open(folder_, 10, &error)) << ToUtf8(error);
    ASSERT_EQ(index_.Rows().size(), 1u);
  }
  std::wstring Snapshot() {
    regfile::RegFileWriter writer;
    if (regfile::ExportKeyTree(platform::Reg(), root_, key_, &writer) != platform::Result::kOk) return L"<missing>";
    return writer.Text();
  }

  platform::RegRoot root_ = scratch_.RegRoot();
  std::wstring key_ = scratch_.RegPath() + L"\\Cured";
  std::wstring before_;
  TBackupIndex index_;
  int resets_ = 0;
  std::function<void()> reset_ = [this] { ++resets_; };
};

TEST_F(BackupRestoreTest, RestoreBringsBackTheKeyAndResetsTheTopics) {
  CureKey();
  // s, e, m, d and the empty subkey.
  EXPECT_EQ(ToUtf8(index_.Rows()[0].changes), "5");
  std::vector<std::wstring> missing;
  EXPECT_EQ(index_.Restore(0, reset_, &missing), RestoreStatus::kRestored) << Utf8(missing);
  EXPECT_EQ(ToUtf8(Snapshot()), ToUtf8(before_));
  EXPECT_EQ(resets_, 1);
  // Restoring twice is allowed; the backup stays.
  EXPECT_EQ(index_.Restore(0, reset_), RestoreStatus::kRestored);
  EXPECT_TRUE(Exists(L"12102026101010.reg"));
}

TEST_F(BackupRestoreTest, RestoreReportsFailureWhenAValueDidNotComeBack) {
  CureKey();
  RefusingRegistry refusing(platform::Reg(), L"e");
  platform::Platform with_refusal = platform::Current();
  with_refusal.registry = &refusing;
  platform::ScopedPlatform scope(with_refusal);

  std::vector<std::wstring> missing;
  const RestoreStatus status = index_.Restore(0, reset_, &missing);
  EXPECT_EQ(status, RestoreStatus::kNotVerified);
  EXPECT_EQ(RestoreMessageKey(status), L"MSGBox.RestoreFailed");
  ASSERT_EQ(missing.size(), 1u);
  EXPECT_EQ(missing[0], L"HKEY_CURRENT_USER\\" + key_ + L"\\e");
  EXPECT_EQ(resets_, 1);
}

TEST_F(BackupRestoreTest, RestoreWithoutARowOrAFileStartsNothing) {
  CureKey();
  EXPECT_EQ(index_.Restore(-1, reset_), RestoreStatus::kNoSelection);
  EXPECT_EQ(index_.Restore(1, reset_), RestoreStatus::kNoSelection);
  platform::Files().DeleteFile(PathOf(L"12102026101010.reg"));
  const RestoreStatus status = index_.Restore(0, reset_);
  EXPECT_EQ(status, RestoreStatus::kNotStarted);
  EXPECT_EQ(RestoreMessageKey(status), L"MSGBox.RestoreFailed");
  EXPECT_EQ(resets_, 0);
  EXPECT_EQ(Snapshot(), L"<missing>");
}

}  // namespace
}  // namespace brimlow::cure
