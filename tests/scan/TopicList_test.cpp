#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Text.h"
#include "platform/Platform.h"
#include "scan/TopicDate.h"
#include "scan/TopicList.h"
#include "support/ScratchSystem.h"

namespace brimlow::scan {
namespace {

class TopicListTest : public ::testing::Test {
 protected:
  std::wstring WriteDb(const std::string& text, const std::wstring& name = L"topic.db") {
    const std::wstring path = scratch_.Folder() + name;
    EXPECT_TRUE(platform::Ok(
        platform::Files().WriteFileAtomic(path, Bytes(text.begin(), text.end()))));
    return path;
  }

  bool Load(const std::wstring& path, std::wstring* error = nullptr) {
    return list_.LoadTopics(path, error);
  }

  std::vector<std::wstring> Names() const {
    std::vector<std::wstring> names;
    for (int i = 0; i < list_.TopicCount(); ++i) names.push_back(list_.GetTopic(i)->Name());
    return names;
  }

  void AddTopics(const std::vector<std::pair<std::wstring, const wchar_t*>>& topics) {
    for (const auto& [name, category] : topics) {
      list_.GetTopic(list_.AddTopic(name))->SetValue(L"Category", category);
    }
  }

  testing::ScratchSystem scratch_;
  TFigTopicList list_;
};

const char kGlobal[] = "[GLOBAL]\r\nMAGICWORD=fig\r\nDATETIME=6/15/2012\r\n";

TEST_F(TopicListTest, SectionsAreReadUpToTheFirstGapAndWeightsAdded) {
  int fired = 0;
  list_.OnTopicLoaded = [&](TFigTopicList& sender) {
    EXPECT_EQ(&sender, &list_);
    ++fired;
  };
  const std::wstring path = WriteDb(std::string(kGlobal) +
                                    "[TOPIC_0]\r\nNAME=A\r\nWORKINGPERCENT=30\r\n"
                                    "[TOPIC_1]\r\nNAME=B\r\nCategory=tcARegFix\r\n"
                                    "[TOPIC_3]\r\nNAME=D\r\nWORKINGPERCENT=20\r\n");
  ASSERT_TRUE(Load(path));
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"A", L"B"}));
  EXPECT_EQ(list_.MaxProcessingCount(), 40);  // 30 + the default 10
  EXPECT_EQ(FormatIsoDate(list_.TopicDateTime()), L"2012-06-15");
  EXPECT_EQ(fired, 1);
  EXPECT_EQ(list_.GetTopic(1)->ValueList(),
            (std::vector<std::wstring>{L"NAME=B", L"Category=tcARegFix"}));
}

TEST_F(TopicListTest, WorkingPercentSumsWithDefaultTen) {
  const std::wstring path = WriteDb(std::string(kGlobal) +
                                    "[TOPIC_0]\r\nNAME=A\r\nWORKINGPERCENT=30\r\n"
                                    "[TOPIC_1]\r\nNAME=B\r\n"
                                    "[TOPIC_2]\r\nNAME=C\r\nWORKINGPERCENT=20\r\n");
  ASSERT_TRUE(Load(path));
  EXPECT_EQ(list_.MaxProcessingCount(), 60);
}

TEST_F(TopicListTest, NothingToLoadKeepsTheListAndFiresNothing) {
  struct {
    const char* label;
    std::string text;  // empty: no file
  } cases[] = {
      {"missing file", ""},
      {"wrong magic word", "[GLOBAL]\r\nMAGICWORD=FOG\r\n[TOPIC_0]\r\nNAME=X\r\n"},
      {"no magic word", "[TOPIC_0]\r\nNAME=X\r\n"},
      {"first topic without name", std::string(kGlobal) + "[TOPIC_0]\r\nRule=x\r\n"
                                                          "[TOPIC_1]\r\nNAME=X\r\n"},
      {"empty name", std::string(kGlobal) + "[TOPIC_0]\r\nNAME=\"\"\r\n"},
  };
  for (const auto& c : cases) {
    list_.ClearTopicList();
    list_.AddTopic(L"kept");
    int fired = 0;
    list_.OnTopicLoaded = [&](TFigTopicList&) { ++fired; };
    const std::wstring path =
        c.text.empty() ? scratch_.Folder() + L"absent.db" : WriteDb(c.text);
    EXPECT_TRUE(Load(path)) << c.label;
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"kept"}) << c.label;
    EXPECT_EQ(list_.MaxProcessingCount(), 0) << c.label;
    EXPECT_EQ(fired, 0) << c.label;
  }
}

TEST_F(TopicListTest, ABadDateFailsWithFileAndLineAndKeepsTheList) {
  list_.AddTopic(L"kept");
  const std::wstring path = WriteDb(
      "[GLOBAL]\r\nMAGICWORD=FIG\r\nDATETIME=31/5/2010\r\n[TOPIC_0]\r\nNAME=X\r\n");
  std::wstring error;
  EXPECT_FALSE(Load(path, &error));
  EXPECT_EQ(error, path + L":3: DATETIME \"31/5/2010\" is not a date in month/day/year order");
  EXPECT_EQ(Names(), std::vector<std::wstring>{L"kept"});
}

TEST_F(TopicListTest, DatesAreMonthDayYear) {
  struct {
    const wchar_t* text;
    const wchar_t* iso;  // nullptr: rejected
  } cases[] = {
      {L"5/31/2010", L"2010-05-31"}, {L" 12/1/1999 ", L"1999-12-01"},
      {L"2/29/2012", L"2012-02-29"}, {L"2/29/2011", nullptr},
      {L"31/5/2010", nullptr},       {L"5-31-2010", nullptr},
      {L"5/31", nullptr},            {L"", nullptr},
  };
  for (const auto& c : cases) {
    double date = 0;
    const bool ok = ParseTopicDate(c.text, &date);
    EXPECT_EQ(ok, c.iso != nullptr) << ToUtf8(c.text);
    if (ok && c.iso) {
      EXPECT_EQ(FormatIsoDate(date), c.iso) << ToUtf8(c.text);
    }
  }
  double date = 0;
  ASSERT_TRUE(ParseTopicDate(L"12/30/1899", &date));
  EXPECT_EQ(date, 0.0);  // day numbers start there
  EXPECT_EQ(FormatTopicDate(40329), L"5/31/2010");
}

TEST_F(TopicListTest, DefaultDateWhenMissing) {
  ASSERT_TRUE(Load(WriteDb("[GLOBAL]\r\nMAGICWORD=FIG\r\n[TOPIC_0]\r\nNAME=X\r\n")));
  EXPECT_EQ(FormatIsoDate(list_.TopicDateTime()), L"2010-05-31");
}

TEST_F(TopicListTest, SortFollowsTheExactSwapSteps) {
  AddTopics({{L"A", L"tcBPrivacySweep"},
             {L"B", L"tcARegFix"},
             {L"C", L"tcBPrivacySweep"},
             {L"D", L"tcARegFix"}});
  list_.SortByCategory();
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"D", L"B", L"C", L"A"}));
}

TEST_F(TopicListTest, UnreadableCategorySortsLast) {
  AddTopics({{L"bad", L"nonsense"},
             {L"junk", L"tcCJunkFile"},
             {L"none", L"tcUnknow"},
             {L"opt", L"tcDSystemOptimization"}});
  list_.SortByCategory();
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"none", L"junk", L"opt", L"bad"}));
}

TEST_F(TopicListTest, ListQueries) {
  AddTopics({{L"one", L"tcARegFix"},
             {L"two", L"tcBPrivacySweep"},
             {L"three", L"tcARegFix"},
             {L"four", L"tcARegFix"}});
  list_.GetTopic(0)->SetValue(L"Root_Caption", L"Files");
  list_.GetTopic(2)->SetValue(L"Root_Caption", L"FILES");
  list_.GetTopic(3)->SetValue(L"Root_Caption", L"Fonts");
  list_.GetTopic(0)->SetValue(L"Rule_Caption", L"first");
  list_.GetTopic(2)->SetValue(L"Rule_Caption", L"third");

  std::vector<std::wstring> lines = {L"kept"};
  EXPECT_EQ(list_.GetCategoryList(tcARegFix, &lines), 3);
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"kept", L"0", L"2", L"3"}));

  std::vector<std::wstring> roots;
  EXPECT_EQ(list_.GetRootList(tcARegFix, &roots), 2);
  EXPECT_EQ(roots, (std::vector<std::wstring>{L"Files", L"Fonts"}));
  EXPECT_EQ(list_.GetRootList(tcARegFix, &roots), 0);  // already there

  std::vector<TopicCaption> children;
  EXPECT_EQ(list_.GetChildList(tcARegFix, L"files", &children), 2);
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(children[0].caption, L"first");
  EXPECT_EQ(children[0].topic, list_.GetTopic(0));
  EXPECT_EQ(children[1].topic, list_.GetTopic(2));

  EXPECT_EQ(list_.GetCategoryList(tcARegFix, nullptr), 0);
  EXPECT_EQ(list_.GetRootList(tcARegFix, nullptr), 0);
  EXPECT_EQ(list_.GetChildList(tcARegFix, L"Files", nullptr), 0);
}

TEST_F(TopicListTest, EditingByIndexNameAndCategory) {
  AddTopics({{L"one", L"tcARegFix"}, {L"Two", L"tcCJunkFile"}, {L"three", L"tcCJunkFile"}});
  EXPECT_EQ(list_.GetTopicByName(L"TWO"), list_.GetTopic(1));
  EXPECT_EQ(list_.GetTopicByName(L"four"), nullptr);
  EXPECT_EQ(list_.GetTopic(3), nullptr);
  EXPECT_EQ(list_.GetTopic(-1), nullptr);

  list_.SetAllEnabled(true);
  list_.SetTopicEnabledByCategory(tcCJunkFile, false);
  list_.SetTopicEnabledByName(L"three", true);
  list_.SetTopicEnabled(7, false);  // outside: nothing
  EXPECT_TRUE(list_.GetTopic(0)->Enabled());
  EXPECT_FALSE(list_.GetTopic(1)->Enabled());
  EXPECT_TRUE(list_.GetTopic(2)->Enabled());

  list_.GetTopic(0)->SetStatus(tsCured);
  list_.ResetStatus();
  EXPECT_EQ(list_.GetTopic(0)->Status(), tsUncured);

  list_.DeleteTopic(5);
  list_.DeleteTopic(0);
  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Two", L"three"}));
  EXPECT_EQ(list_.GetTopic(list_.AddTopic(L"new"))->ValueList(),
            std::vector<std::wstring>{L"NAME=new"});
}

TEST_F(TopicListTest, SavedDatabaseLoadsBackUnchanged) {
  AddTopics({{L"Temp files", L"tcCJunkFile"}, {L"Fonts", L"tcARegFix"}});
  TFigTopic& first = *list_.GetTopic(0);
  first.SetValue(L"Rule", L"rsJunkFile,.tmp,.log");
  first.SetValue(L"REGITEM_0", L"\"Path\"=\"C:\\Temp\"");
  first.SetValue(L"Rule_Caption", L"  Mixed Case  ");
  first.SetEnabled(true);
  list_.AddTopic(L"");  // no name: not saved
  const std::wstring path = scratch_.Folder() + L"saved.db";
  std::wstring error;
  ASSERT_TRUE(list_.SaveTopics(path, &error)) << ToUtf8(error);

  TFigTopicList loaded;
  ASSERT_TRUE(loaded.LoadTopics(path));
  ASSERT_EQ(loaded.TopicCount(), 2);
  EXPECT_EQ(loaded.GetTopic(0)->Name(), L"Temp files");
  EXPECT_EQ(loaded.GetTopic(0)->GetValue(L"REGITEM_0"), L"\"Path\"=\"C:\\Temp\"");
  EXPECT_EQ(loaded.GetTopic(0)->GetValue(L"Rule_Caption"), L"Mixed Case");
  EXPECT_TRUE(loaded.GetTopic(0)->Enabled());
  EXPECT_EQ(loaded.GetTopic(1)->Category(), tcARegFix);
  EXPECT_EQ(loaded.TopicDateTime(), TodayDate());
}

TEST_F(TopicListTest, SaveNeverOverwrites) {
  const std::wstring path = WriteDb("keep me");
  list_.AddTopic(L"X");
  std::wstring error;
  EXPECT_FALSE(list_.SaveTopics(path, &error));
  EXPECT_FALSE(error.empty());
  Bytes content;
  ASSERT_TRUE(platform::Ok(platform::Files().ReadFile(path, &content)));
  EXPECT_EQ(std::string(content.begin(), content.end()), "keep me");
}

}  // namespace
}  // namespace brimlow::scan
