// brimlow-cli topics: the shipped database listed in full, a small one in
// the human format, and the files it refuses.
#include <gtest/gtest.h>

#include <regex>

#include "cli/CliFixture.h"
#include "scan/FigTypes.h"

namespace brimlow::cli {
namespace {

using json = nlohmann::ordered_json;

class CliTopicsTest : public ::testing::Test {
 protected:
  testing::ScratchSystem scratch_;
};

TEST_F(CliTopicsTest, JsonListsEveryTopicOfTheShippedDatabaseInCategoryOrder) {
  const std::wstring db = SourceFile(L"../../data/topic.db");
  const CliResult r = RunCli(scratch_, {"topics", "--topics", ToUtf8(db), "--json"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;

  // Every "[TOPIC_n]" section of the file is one line, numbered from 0.
  const std::wstring text = ReadText(db);
  std::size_t sections = 0;
  for (std::size_t at = text.find(L"[TOPIC_"); at != std::wstring::npos; at = text.find(L"[TOPIC_", at + 1)) {
    ++sections;
  }
  ASSERT_GT(sections, 0u);
  ASSERT_EQ(r.lines.size(), sections + 1) << r.out;

  int previous_category = -1;
  for (std::size_t i = 0; i < sections; ++i) {
    const json& topic = r.lines[i];
    EXPECT_EQ(topic["Index"], static_cast<int>(i));
    EXPECT_FALSE(topic["Name"].get<std::string>().empty()) << topic.dump();
    EXPECT_TRUE(topic["Enabled"].is_boolean()) << topic.dump();
    EXPECT_GE(topic["LocationsCount"].get<int>(), 0);
    EXPECT_GE(topic["RegItemsCount"].get<int>(), 0);
    // Sorted by category, as the main window lists them.
    const int category = scan::TopicCategoryFromName(FromUtf8(topic["Category"].get<std::string>()));
    EXPECT_GE(category, previous_category) << topic.dump();
    previous_category = category;
  }
  const json& totals = r.lines.back();
  EXPECT_GT(totals["MaxProcessingCount"].get<int>(), 0);
  EXPECT_TRUE(std::regex_match(totals["TopicDateTime"].get<std::string>(), std::regex(R"(\d{4}-\d{2}-\d{2})")))
      << totals.dump();
}

TEST_F(CliTopicsTest, HumanFormatIsOneTabSeparatedLinePerTopicThenTheTotals) {
  const std::wstring db = scratch_.Folder() + L"topic.db";
  WriteTopicDb(db, {{"Name=Junk", "Category=tcCJunkFile", "Rule=rsJunkFile,.tmp", "LOCATION_0=lsDisk,C:\\Temp\\",
                     "LOCATION_1=lsDisk,C:\\Junk\\", "Enabled=1", "WorkingPercent=5"},
                    {"Name=History", "Category=tcARegFix", "Rule=rsRegistryHistory",
                     "LOCATION_0=lsRegistry,HKEY_CURRENT_USER\\Software\\X", "Enabled=0", "WorkingPercent=20"},
                    {"Name=Odd", "Category=tcNoSuchCategory", "Enabled=1"}});
  const CliResult r = RunCli(scratch_, {"topics", "--topics", ToUtf8(db)});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(r.lines.empty());
  const std::string out = r.out;
  const auto history = out.find("\tHistory\ttcARegFix\tfalse\trsRegistryHistory\t1\t0\n");
  const auto junk = out.find("\tJunk\ttcCJunkFile\ttrue\trsJunkFile,.tmp\t2\t0\n");
  ASSERT_NE(history, std::string::npos) << out;
  ASSERT_NE(junk, std::string::npos) << out;
  EXPECT_LT(history, junk);
  // A category the program does not know shows as empty.
  EXPECT_NE(out.find("\tOdd\t\ttrue\t"), std::string::npos) << out;
  EXPECT_NE(out.find("\nMaxProcessingCount\t"), std::string::npos) << out;
  EXPECT_NE(out.find("\nTopicDateTime\t2026-12-01\n"), std::string::npos) << out;
}

TEST_F(CliTopicsTest, FilesThatAreNoTopicDatabaseFailWithTheirName) {
  const std::wstring text_file = scratch_.Folder() + L"notes.txt";
  const std::string text = "just some notes\r\n";
  ASSERT_TRUE(platform::Ok(platform::Files().WriteFileAtomic(text_file, Bytes(text.begin(), text.end()))));
  const struct {
    std::wstring file;
    std::string message;
  } cases[] = {
      {scratch_.Folder() + L"missing.db", ": no such file"},
      {text_file, ": not a topic database"},
      {scratch_.Folder(), ": "},  // a folder
  };
  for (const auto& c : cases) {
    const CliResult r = RunCli(scratch_, {"topics", "--topics", ToUtf8(c.file), "--json"});
    EXPECT_EQ(r.code, 1) << ToUtf8(c.file);
    EXPECT_NE(r.err.find("brimlow-cli: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << ToUtf8(c.file) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
}

}  // namespace
}  // namespace brimlow::cli
