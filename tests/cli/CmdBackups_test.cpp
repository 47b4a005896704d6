// brimlow-cli backups: the backups two cures left, listed newest first,
// one restored and one deleted by its number; the numbers and folders it
// refuses.
#include <gtest/gtest.h>

#include "cli/CliFixture.h"
#include "framework/utils/Paths.h"

namespace brimlow::cli {
namespace {

using json = nlohmann::ordered_json;

class CliBackupsTest : public ::testing::Test {
 protected:
  CliBackupsTest() {
    hist_ = scratch_.RegPath() + L"\\hist";
    db_ = scratch_.Folder() + L"topic.db";
    backup_ = scratch_.Folder() + L"backup";
    WriteTopicDb(db_, {{"Name=History", "Category=tcARegFix", "Rule=rsRegistryHistory",
                        "LOCATION_0=lsRegistry,HKEY_CURRENT_USER\\" + ToUtf8(hist_), "Enabled=1", "CheckValues=1",
                        "LEVEL=2", "WorkingPercent=20"}});
    // The older cure takes v1 and v2, the newer one v3.
    SetValues({L"v1", L"v2"});
    Cure();
    SetValues({L"v3"});
    Cure();
  }

  void SetValues(const std::vector<std::wstring>& names) {
    AfterRun system(scratch_);
    for (const auto& name : names) {
      platform::Reg().SetValue(scratch_.RegRoot(), hist_, platform::MakeStringValue(name, L"x"));
    }
  }

  void Cure() {
    const CliResult r = RunCli(scratch_, {"cure", "--topics", ToUtf8(db_), "--no-pacing", "--json", "--yes",
                                          "--backup-dir", ToUtf8(backup_)});
    ASSERT_EQ(r.code, 0) << r.err;
    ASSERT_FALSE(r.Of("CureFinished").empty()) << r.out;
  }

  CliResult Backups(const std::string& command, std::vector<std::string> args) {
    args.insert(args.begin(), {"backups", command, "--backup-dir", ToUtf8(backup_)});
    return RunCli(scratch_, args);
  }

  std::vector<json> List() {
    const CliResult r = Backups("list", {"--json"});
    EXPECT_EQ(r.code, 0) << r.err;
    return {r.lines.begin(), r.lines.end()};
  }

  testing::ScratchSystem scratch_;
  std::wstring hist_;
  std::wstring db_;
  std::wstring backup_;
};

TEST_F(CliBackupsTest, ListShowsEveryCureNewestFirstWithItsChanges) {
  const std::vector<json> rows = List();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0]["Row"], 1);
  EXPECT_EQ(rows[0]["Changes"], 1);
  EXPECT_EQ(rows[1]["Row"], 2);
  EXPECT_EQ(rows[1]["Changes"], 2);
  EXPECT_NE(rows[0]["File"], rows[1]["File"]);
  AfterRun after(scratch_);
  for (const auto& row : rows) {
    const std::wstring file = FromUtf8(row["File"].get<std::string>());
    EXPECT_TRUE(SameText(file.substr(0, backup_.size() + 1), backup_ + L"\\")) << row.dump();
    EXPECT_TRUE(after.HasFile(file)) << row.dump();
    EXPECT_FALSE(row["Datetime"].get<std::string>().empty()) << row.dump();
  }

  const CliResult human = Backups("list", {});
  ASSERT_EQ(human.code, 0) << human.err;
  EXPECT_EQ(human.out, "1\t" + rows[0]["Datetime"].get<std::string>() + "\t1\t" + rows[0]["File"].get<std::string>() +
                           "\n2\t" + rows[1]["Datetime"].get<std::string>() + "\t2\t" +
                           rows[1]["File"].get<std::string>() + "\n");
}

TEST_F(CliBackupsTest, RestoreBringsBackTheValuesOfThatBackupOnly) {
  const CliResult r = Backups("restore", {"2"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "Restored.\n");
  {
    AfterRun after(scratch_);
    EXPECT_TRUE(after.HasValue(scratch_.RegRoot(), hist_, L"v1"));
    EXPECT_TRUE(after.HasValue(scratch_.RegRoot(), hist_, L"v2"));
    EXPECT_FALSE(after.HasValue(scratch_.RegRoot(), hist_, L"v3"));
  }
  const CliResult json_run = Backups("restore", {"1", "--json"});
  ASSERT_EQ(json_run.code, 0) << json_run.err;
  ASSERT_EQ(json_run.lines.size(), 1u) << json_run.out;
  EXPECT_EQ(json_run.lines[0]["Row"], 1);
  EXPECT_EQ(json_run.lines[0]["Restored"], true);
  EXPECT_EQ(json_run.lines[0]["Missing"], json::array());
  AfterRun after(scratch_);
  EXPECT_TRUE(after.HasValue(scratch_.RegRoot(), hist_, L"v3"));
  // A restored backup stays listed.
  EXPECT_EQ(List().size(), 2u);
}

TEST_F(CliBackupsTest, DeleteRemovesExactlyThatRowAndItsFile) {
  const std::vector<json> before = List();
  ASSERT_EQ(before.size(), 2u);
  const CliResult r = Backups("delete", {"1", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  ASSERT_EQ(r.lines.size(), 1u) << r.out;
  EXPECT_EQ(r.lines[0]["File"], before[0]["File"]);
  EXPECT_EQ(r.lines[0]["FileDeleted"], true);

  const std::vector<json> after_rows = List();
  ASSERT_EQ(after_rows.size(), 1u);
  EXPECT_EQ(after_rows[0]["Row"], 1);
  EXPECT_EQ(after_rows[0]["File"], before[1]["File"]);
  EXPECT_EQ(after_rows[0]["Datetime"], before[1]["Datetime"]);
  AfterRun after(scratch_);
  EXPECT_FALSE(after.HasFile(FromUtf8(before[0]["File"].get<std::string>())));
  EXPECT_TRUE(after.HasFile(FromUtf8(before[1]["File"].get<std::string>())));
  const std::wstring index = ReadText(backup_ + L"\\info.rec");
  EXPECT_EQ(index.find(ExtractFileName(FromUtf8(before[0]["File"].get<std::string>()))), std::wstring::npos) << ToUtf8(index);
  EXPECT_NE(index.find(ExtractFileName(FromUtf8(before[1]["File"].get<std::string>()))), std::wstring::npos) << ToUtf8(index);
}

TEST_F(CliBackupsTest, MaxBackupPrunesTheOlderBackupsForGood) {
  const std::vector<json> before = List();
  ASSERT_EQ(before.size(), 2u);
  const CliResult r = Backups("list", {"--max-backup", "1", "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  ASSERT_EQ(r.lines.size(), 1u) << r.out;
  EXPECT_EQ(r.lines[0]["File"], before[0]["File"]);
  EXPECT_EQ(List().size(), 1u);
  AfterRun after(scratch_);
  EXPECT_FALSE(after.HasFile(FromUtf8(before[1]["File"].get<std::string>())));
}

TEST_F(CliBackupsTest, RefusedNumbersAndFoldersChangeNothing) {
  const std::string missing = ToUtf8(scratch_.Folder() + L"nowhere");
  const struct {
    std::vector<std::string> args;
    std::string message;  // part of standard error
  } cases[] = {
      {{"backups", "restore", "3", "--backup-dir", ToUtf8(backup_)}, "no backup number 3 (2 listed)"},
      {{"backups", "restore", "0", "--backup-dir", ToUtf8(backup_)}, "no backup number 0 (2 listed)"},
      {{"backups", "delete", "-1", "--backup-dir", ToUtf8(backup_)}, "-1"},
      {{"backups", "delete", "first", "--backup-dir", ToUtf8(backup_)}, "N"},
      {{"backups", "restore", "--backup-dir", ToUtf8(backup_)}, "N"},
      {{"backups", "list", "--backup-dir", ToUtf8(backup_), "--max-backup", "0"}, "--max-backup"},
      {{"backups", "list", "--backup-dir", missing}, missing + ": no such folder"},
      {{"backups", "delete", "1", "--backup-dir", missing}, missing + ": no such folder"},
      {{"backups", "undo", "1"}, "subcommand"},
      {{"backups"}, "subcommand"},
  };
  for (const auto& c : cases) {
    const CliResult r = RunCli(scratch_, c.args);
    EXPECT_NE(r.code, 0) << ::testing::PrintToString(c.args);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << ::testing::PrintToString(c.args) << r.err;
    EXPECT_TRUE(r.out.empty()) << ::testing::PrintToString(c.args) << r.out;
  }
  EXPECT_EQ(List().size(), 2u);
  AfterRun after(scratch_);
  EXPECT_FALSE(after.HasFile(scratch_.Folder() + L"nowhere"));
}

TEST_F(CliBackupsTest, AnEmptyFolderListsNothing) {
  const std::wstring empty = scratch_.Folder() + L"empty";
  ASSERT_TRUE(platform::Ok(platform::Files().CreateFolder(empty)));
  const CliResult r = RunCli(scratch_, {"backups", "list", "--backup-dir", ToUtf8(empty), "--json"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(r.out.empty()) << r.out;
  const CliResult restore = RunCli(scratch_, {"backups", "restore", "1", "--backup-dir", ToUtf8(empty)});
  EXPECT_EQ(restore.code, 1);
  EXPECT_NE(restore.err.find("no backup number 1 (0 listed)"), std::string::npos) << restore.err;
}

}  // namespace
}  // namespace brimlow::cli
