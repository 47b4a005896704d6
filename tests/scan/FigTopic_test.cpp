#include <gtest/gtest.h>

#include "base/Text.h"
#include "scan/FigTopic.h"

namespace brimlow::scan {
namespace {

TEST(FigTopicTest, EnabledReadsBooleanTexts) {
  struct {
    const wchar_t* value;  // nullptr: no ENABLED line
    bool expected;
  } cases[] = {
      {nullptr, false}, {L"1", true},      {L"-1", true},    {L"true", true},
      {L"TRUE", true},  {L"tRuE", true},   {L"0", false},    {L"false", false},
      {L"FALSE", false}, {L"yes", false},  {L"2", true},     {L"0.5", true},
      {L"0.0", false},  {L" 1 ", true},    {L"1x", false},
  };
  for (const auto& c : cases) {
    TFigTopic topic;
    topic.SetName(L"T");
    if (c.value) topic.SetValue(L"Enabled", c.value);
    EXPECT_EQ(topic.Enabled(), c.expected) << (c.value ? ToUtf8(c.value) : "missing");
  }
}

TEST(FigTopicTest, SettingEnabledWritesMinusOneOrZero) {
  TFigTopic topic;
  topic.SetValue(L"enabled", L"true");
  topic.SetEnabled(true);
  EXPECT_EQ(topic.ValueList(), (std::vector<std::wstring>{L"enabled=-1"}));
  topic.SetEnabled(false);
  EXPECT_EQ(topic.GetValue(L"ENABLED"), L"0");
}

TEST(FigTopicTest, IntegerTexts) {
  EXPECT_EQ(ReadIntegerText(L"30", 10), 30);
  EXPECT_EQ(ReadIntegerText(L"-4", 10), -4);
  EXPECT_EQ(ReadIntegerText(L"", 10), 10);
  EXPECT_EQ(ReadIntegerText(L"3.5", 10), 10);
  EXPECT_EQ(ReadIntegerText(L"99999999999", 10), 10);
}

TEST(FigTopicTest, CountsStopAtTheFirstMissingOrEmptyEntry) {
  TFigTopic topic;
  topic.SetValue(L"NAME", L"T");
  topic.SetValue(L"LOCATION_0", L"lsRegistry,HKEY_CURRENT_USER\\Software");
  topic.SetValue(L"REGITEM_0", L"\"A\"=\"1\"");
  topic.SetValue(L"regitem_1", L"\"B\"=dword:00000001");
  topic.SetValue(L"REGITEM_2", L"@=\"x\"");
  topic.SetValue(L"REGITEM_4", L"\"skipped\"=\"gap before\"");
  EXPECT_EQ(topic.LocationsCount(), 1);
  EXPECT_EQ(topic.RegItemsCount(), 3);
  EXPECT_EQ(topic.RegItem(), (std::vector<std::wstring>{L"\"A\"=\"1\"", L"\"B\"=dword:00000001",
                                                        L"@=\"x\""}));
}

TEST(FigTopicTest, CategoryReadsTheNameAndUnknownGivesMinusOne) {
  TFigTopic topic;
  EXPECT_EQ(static_cast<int>(topic.Category()), -1);
  topic.SetValue(L"Category", L"tccjunkfile");
  EXPECT_EQ(topic.Category(), tcCJunkFile);
  topic.SetCategory(tcARegFix);
  EXPECT_EQ(topic.GetValue(L"category"), L"tcARegFix");
  topic.SetValue(L"Category", L"tcBogus");
  EXPECT_EQ(static_cast<int>(topic.Category()), -1);
}

TEST(FigTopicTest, ValuesKeepTheirLineAndAnEmptyValueRemovesIt) {
  TFigTopic topic;
  topic.SetValue(L"NAME", L"a");
  topic.SetValue(L"Rule", L"rsJunkFile,.tmp");
  topic.SetValue(L"name", L"b=c");
  EXPECT_EQ(topic.ValueList(), (std::vector<std::wstring>{L"NAME=b=c", L"Rule=rsJunkFile,.tmp"}));
  EXPECT_EQ(topic.Name(), L"b=c");
  topic.SetValue(L"rule", L"");
  EXPECT_EQ(topic.ValueList(), (std::vector<std::wstring>{L"NAME=b=c"}));
}

TEST(FigTopicTest, AssignCopiesLinesAndStatus) {
  TFigTopic source;
  source.SetName(L"S");
  source.SetStatus(tsCured);
  TFigTopic copy;
  copy.SetName(L"old");
  copy.Assign(source);
  EXPECT_EQ(copy.ValueList(), source.ValueList());
  EXPECT_EQ(copy.Status(), tsCured);
}

TEST(FigTopicTest, LocationsAreTakenApart) {
  struct {
    const wchar_t* value;
    TLocationStyle style;
    const wchar_t* location;
    const wchar_t* root;
    const wchar_t* path;
  } cases[] = {
      {L"lsRegistry,HKEY_CURRENT_USER\\Software\\X", lsRegistry,
       L"HKEY_CURRENT_USER\\Software\\X", L"HKEY_CURRENT_USER", L"Software\\X"},
      // Without a backslash the whole text is root and path: it finds nothing.
      {L"lsRegistry,HKEY_CURRENT_USER", lsRegistry, L"HKEY_CURRENT_USER", L"HKEY_CURRENT_USER",
       L"HKEY_CURRENT_USER"},
      // Every occurrence of the root and its backslash goes; case must match.
      {L"LSREGISTRYITEM,HKLM\\A\\HKLM\\B\\hklm\\C,ignored", lsRegistryItem,
       L"HKLM\\A\\HKLM\\B\\hklm\\C", L"HKLM", L"A\\B\\hklm\\C"},
      {L"lsDisk,@Temp", lsDisk, L"@Temp", L"", L""},
      {L"lsDisk", lsUnknow, L"", L"", L""},
      {L"lsUnknow,C:\\x", lsUnknow, L"C:\\x", L"", L""},
      {L"lsFloppy,A:\\", lsUnknow, L"A:\\", L"", L""},
  };
  for (const auto& c : cases) {
    const TopicLocation parsed = ParseTopicLocation(c.value);
    EXPECT_EQ(parsed.style, c.style) << ToUtf8(c.value);
    EXPECT_EQ(parsed.location, c.location) << ToUtf8(c.value);
    EXPECT_EQ(parsed.root, c.root) << ToUtf8(c.value);
    EXPECT_EQ(parsed.path, c.path) << ToUtf8(c.value);
  }
}

}  // namespace
}  // namespace brimlow::scan
