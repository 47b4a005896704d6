// brimlow-cli scan and cure, run in-process on a scratch system: the JSON
// event stream, the choice of topics, option errors, and a cure with the
// registry and files afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>

#include "cli/CliFixture.h"
#include "cure/RegUtils.h"
#include "framework/utils/Paths.h"
#include "platform/Console.h"
#include "platform/SystemSession.h"

namespace brimlow::cli {
namespace {

using json = nlohmann::ordered_json;

class CliScanTest : public ::testing::Test {
 protected:
  CliScanTest() {
    auto& reg = platform::Reg();
    hist_ = scratch_.RegPath() + L"\\hist";
    reg.SetValue(scratch_.RegRoot(), hist_, platform::MakeStringValue(L"v1", L"one"));
    reg.SetValue(scratch_.RegRoot(), hist_, platform::MakeStringValue(L"v2", L"two"));
    junk_ = scratch_.Folder() + L"junk\\";
    platform::Files().CreateFolder(junk_);
    platform::Files().WriteFileAtomic(junk_ + L"a.tmp", Bytes(7, 'a'));
    platform::Files().WriteFileAtomic(junk_ + L"keep.txt", Bytes(5, 'k'));
    db_ = scratch_.Folder() + L"topic.db";
    WriteDb("1", "2");
  }

  // History: both values of "hist"; Off: disabled, over a key that does not
  // exist; Junk: ".tmp" files of the junk folder.
  void WriteDb(const std::string& history_level, const std::string& junk_level) {
    const std::string hkcu = "HKEY_CURRENT_USER\\" + ToUtf8(scratch_.RegPath());
    WriteTopicDb(db_, {{"Name=Junk", "Category=tcCJunkFile", "Rule=rsJunkFile,.tmp", "Rule_Caption=Temp files",
                        "LOCATION_0=lsDisk," + ToUtf8(junk_), "Enabled=1", "LEVEL=" + junk_level,
                        "WorkingPercent=5"},
                       {"Name=History", "Category=tcARegFix", "Rule=rsRegistryHistory", "Rule_Caption=History",
                        "LOCATION_0=lsRegistry," + hkcu + "\\hist", "Enabled=1", "CheckValues=1",
                        "LEVEL=" + history_level, "WorkingPercent=20"},
                       {"Name=Off", "Category=tcARegFix", "Rule=rsRegistryHistory",
                        "LOCATION_0=lsRegistry," + hkcu + "\\none", "Enabled=0"}});
  }

  CliResult Scan(std::vector<std::string> extra) {
    std::vector<std::string> args = {"scan", "--topics", ToUtf8(db_), "--no-pacing", "--json"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCli(scratch_, args);
  }

  CliResult Cure(std::vector<std::string> extra) {
    std::vector<std::string> args = {"cure", "--topics", ToUtf8(db_), "--no-pacing", "--json",
                                     "--backup-dir", ToUtf8(Backup())};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunCli(scratch_, args);
  }

  std::wstring Backup() const { return scratch_.Folder() + L"backup"; }

  testing::ScratchSystem scratch_;
  std::wstring hist_;
  std::wstring junk_;
  std::wstring db_;
};

TEST_F(CliScanTest, JsonStreamReportsEveryEventInOrderWithAllFields) {
  const CliResult r = Scan({});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::vector<std::string> expected = {
      "CategoryStarted", "TopicMatched",  "TopicMatched",     "TopicFinished", "CategoryFinished",
      "CategoryStarted", "TopicMatched",  "TopicFinished",    "CategoryFinished", "Finished"};
  EXPECT_EQ(r.Events(), expected) << r.out;
  ASSERT_EQ(r.lines.size(), expected.size());
  EXPECT_EQ(r.lines[0]["Category"], "tcARegFix");
  EXPECT_EQ(r.lines[3]["TopicName"], "History");
  EXPECT_EQ(r.lines[5]["Category"], "tcCJunkFile");
  EXPECT_EQ(r.lines[8]["Category"], "tcCJunkFile");

  // Every field of the finding, in the record's order.
  const json& junk = r.lines[6];
  std::vector<std::string> keys;
  for (const auto& item : junk.items()) keys.push_back(item.key());
  const std::vector<std::string> fields = {
      "event",       "SID",          "TopicName",     "Category",   "RuleStyle",  "RuleParams",
      "RuleCaption", "Msg",          "Level",         "Reason",     "LocationStyle", "ScanedRoot",
      "ScanedPath",  "ScanedSection", "ScanedName",   "CurrentPer", "ValueCheck", "Checked"};
  EXPECT_EQ(keys, fields);
  EXPECT_EQ(junk["SID"], 2);
  EXPECT_EQ(junk["TopicName"], "Junk");
  EXPECT_EQ(junk["RuleStyle"], "rsJunkFile");
  EXPECT_EQ(junk["RuleParams"], json::array({"rsJunkFile", ".tmp"}));
  EXPECT_EQ(junk["RuleCaption"], "Temp files");
  EXPECT_EQ(junk["Reason"], "frJunkFile");
  EXPECT_EQ(junk["Level"], 2);
  EXPECT_EQ(junk["LocationStyle"], "lsDisk");
  EXPECT_EQ(junk["ScanedPath"], ToUtf8(junk_));
  EXPECT_EQ(junk["ScanedName"], "a.tmp");
  EXPECT_EQ(junk["Checked"], true);
  const json& first = r.lines[1];
  EXPECT_EQ(first["SID"], 0);
  EXPECT_EQ(first["ScanedRoot"], "HKEY_CURRENT_USER");
  EXPECT_EQ(first["ScanedPath"], ToUtf8(hist_));
  EXPECT_EQ(first["ScanedSection"], "v1");
  EXPECT_EQ(first["ScanedName"], "one");
  EXPECT_EQ(first["ValueCheck"], true);
  EXPECT_EQ(first["Checked"], false);
  EXPECT_EQ(r.lines[2]["SID"], 1);

  const json& end = r.lines.back();
  EXPECT_EQ(end["Summary"], json::parse(R"({"AllCount":4,"RegistryItemCount":2,"FileCount":2,"FileSizeCount":12,
      "MatchedAllCount":3,"MatchedRegItemCount":2,"MatchedFileCount":1,"MatchedFileSizeCount":7})"));
  EXPECT_TRUE(end["ProcessedTime"].is_number_integer());
}

TEST_F(CliScanTest, OptionsChooseTheTopics) {
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> topics;  // TopicFinished, in order
  } cases[] = {
      {{}, {"History", "Junk"}},
      {{"--all"}, {"Off", "History", "Junk"}},  // the list order after sorting by category
      {{"--category", "tcCJunkFile"}, {"Junk"}},
      {{"--category", "TCAREGFIX", "--category", "tcCJunkFile"}, {"History", "Junk"}},
      {{"--all", "--category", "tcARegFix"}, {"Off", "History"}},
      {{"--topic", "off"}, {"Off"}},
      {{"--category", "tcCJunkFile", "--topic", "Off"}, {"Off", "Junk"}},
      {{"--category", "tcDSystemOptimization"}, {}},
  };
  for (const auto& c : cases) {
    const CliResult r = Scan(c.args);
    std::vector<std::string> got;
    for (const auto& line : r.Of("TopicFinished")) got.push_back(line["TopicName"].get<std::string>());
    EXPECT_EQ(r.code, 0) << ::testing::PrintToString(c.args) << r.err;
    EXPECT_EQ(got, c.topics) << ::testing::PrintToString(c.args);
    EXPECT_EQ(r.Events().back(), "Finished") << ::testing::PrintToString(c.args);
  }
}

TEST_F(CliScanTest, BadOptionsFailWithAMessageAndScanNothing) {
  const struct {
    std::vector<std::string> args;
    std::string message;  // part of standard error
  } cases[] = {
      {{"scan", "--topics", ToUtf8(db_), "--category", "tcNothing"}, "unknown category"},
      {{"scan", "--topics", ToUtf8(db_), "--topic", "Nobody"}, "no such topic"},
      {{"scan", "--topics", ToUtf8(scratch_.Folder() + L"missing.db")}, "no such file"},
      {{"scan", "--topics", ToUtf8(junk_ + L"keep.txt")}, "not a topic database"},
      {{"scan", "--bogus"}, "--bogus"},
      {{"cure", "--topics", ToUtf8(db_), "--topic", "Nobody", "--yes"}, "no such topic"},
  };
  for (const auto& c : cases) {
    const CliResult r = RunCli(scratch_, c.args);
    EXPECT_NE(r.code, 0) << ::testing::PrintToString(c.args);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << ::testing::PrintToString(c.args) << r.err;
    EXPECT_TRUE(r.lines.empty()) << r.out;
  }
}

TEST_F(CliScanTest, ABadSystemImageFails) {
  // The stand-in refuses a named image folder that does not exist; the
  // Windows build refuses any image.
  const std::vector<std::string> argv = {"brimlow-cli", "--system", ToUtf8(scratch_.Folder()) + "no-such-image",
                                         "scan", "--topics", ToUtf8(db_)};
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int code = cli::Run(argv);
  const std::string out = ::testing::internal::GetCapturedStdout();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(code, 0);
  EXPECT_NE(err.find("brimlow-cli:"), std::string::npos) << err;
  EXPECT_TRUE(out.empty()) << out;
}

TEST_F(CliScanTest, HumanReportListsFindingsByCategory) {
  const CliResult r = RunCli(scratch_, {"scan", "--topics", ToUtf8(db_), "--no-pacing"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto registry = r.out.find("Registry Clean: 2");
  const auto junk = r.out.find("Junk Files Removal: 1");
  ASSERT_NE(registry, std::string::npos) << r.out;
  ASSERT_NE(junk, std::string::npos) << r.out;
  EXPECT_LT(registry, junk);
  EXPECT_NE(r.out.find("  [x] " + ToUtf8(junk_) + "a.tmp"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  [ ] HKEY_CURRENT_USER\\" + ToUtf8(hist_) + "\\v2"), std::string::npos) << r.out;
  EXPECT_TRUE(r.lines.empty());
}

TEST_F(CliScanTest, CtrlCAbortsTheScanAndStillReports) {
  // Pacing on: the scan lasts about 20 seconds unless stopped.
  auto running = std::async(std::launch::async, [&] {
    return RunCli(scratch_, {"scan", "--topics", ToUtf8(db_), "--json"});
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  platform::RequestInterrupt();
  ASSERT_EQ(running.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  const CliResult r = running.get();
  EXPECT_EQ(r.code, 130);
  ASSERT_FALSE(r.lines.empty());
  EXPECT_EQ(r.lines.back()["event"], "Aborted");
  EXPECT_TRUE(r.lines.back()["Summary"].contains("AllCount"));
  EXPECT_TRUE(r.Of("Finished").empty());
  EXPECT_FALSE(platform::InterruptRequested());
}

void ExpectCured(const CliResult& r, const std::vector<int>& sids) {
  ASSERT_EQ(r.code, 0) << r.err;
  std::vector<int> got;
  for (const auto& line : r.Of("Cured")) {
    got.push_back(line["SID"].get<int>());
    EXPECT_EQ(line["Status"], "csCured");
    EXPECT_EQ(line.size(), 3u) << line.dump();
  }
  EXPECT_EQ(got, sids);
  // The scan's report first, the cure's end last.
  const std::vector<std::string> events = r.Events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), "CureFinished");
  EXPECT_EQ(std::find(events.begin(), events.end(), "Finished") - events.begin(),
            static_cast<long>(events.size()) - 2 - static_cast<long>(sids.size()));
}

TEST_F(CliScanTest, CureDeletesOnlyCheckedFindingsAndWritesTheBackupFirst) {
  const CliResult r = Cure({"--yes"});
  ExpectCured(r, {2});  // History is LEVEL 1: unchecked
  const json& end = r.lines.back();
  const std::wstring backup = FromUtf8(end["Backup"].get<std::string>());
  EXPECT_TRUE(SameText(ExtractFilePath(backup), AddTrailingBackslash(Backup()))) << ToUtf8(backup);
  const std::string index = end["Index"].get<std::string>();
  EXPECT_EQ(index.substr(index.rfind(',') + 1), ToUtf8(ExtractFileName(backup)));
  EXPECT_NE(index.find(",3,"), std::string::npos) << index;  // every finding counts, checked or not

  AfterRun after(scratch_);
  EXPECT_FALSE(after.HasFile(junk_ + L"a.tmp"));
  EXPECT_TRUE(after.HasFile(junk_ + L"keep.txt"));
  EXPECT_TRUE(after.HasValue(scratch_.RegRoot(), hist_, L"v1"));
  EXPECT_TRUE(after.HasFile(backup));
}

TEST_F(CliScanTest, CureCheckAllDeletesEveryFindingAndTheBackupRestoresIt) {
  const CliResult r = Cure({"--yes", "--check-all"});
  ExpectCured(r, {0, 1, 2});
  const std::wstring backup = FromUtf8(r.lines.back()["Backup"].get<std::string>());
  AfterRun after(scratch_);
  EXPECT_FALSE(after.HasValue(scratch_.RegRoot(), hist_, L"v1"));
  EXPECT_FALSE(after.HasValue(scratch_.RegRoot(), hist_, L"v2"));
  EXPECT_FALSE(after.HasFile(junk_ + L"a.tmp"));
  ASSERT_TRUE(cure::ImportRegFile(backup));
  EXPECT_TRUE(after.HasValue(scratch_.RegRoot(), hist_, L"v1"));
  EXPECT_TRUE(after.HasValue(scratch_.RegRoot(), hist_, L"v2"));
}

TEST_F(CliScanTest, CureWithoutYesAndWithoutATerminalChangesNothing) {
  const CliResult r = Cure({"--check-all"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(r.Of("Cured").empty());
  EXPECT_TRUE(r.Of("CureFinished").empty());
  EXPECT_NE(r.err.find("--yes"), std::string::npos) << r.err;
  AfterRun after(scratch_);
  EXPECT_TRUE(after.HasFile(junk_ + L"a.tmp"));
  EXPECT_TRUE(after.HasValue(scratch_.RegRoot(), hist_, L"v1"));
  EXPECT_FALSE(after.HasFile(Backup() + L"\\info.rec"));
}

TEST_F(CliScanTest, CureOfNothingCheckedStartsNoCure) {
  WriteDb("1", "1");
  const CliResult r = Cure({"--yes"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.Events().back(), "Finished");
  AfterRun after(scratch_);
  EXPECT_TRUE(after.HasFile(junk_ + L"a.tmp"));
  EXPECT_FALSE(after.HasFile(Backup() + L"\\info.rec"));
}

}  // namespace
}  // namespace brimlow::cli
