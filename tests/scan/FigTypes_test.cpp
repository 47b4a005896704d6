#include <gtest/gtest.h>

#include "base/Text.h"
#include "scan/FigTypes.h"

namespace brimlow::scan {
namespace {

// Every name of every enumeration reads back to its ordinal and writes
// back to the same name; the ordinals are the stored ones.
template <typename E, std::size_t N>
void ExpectRoundTrip(const wchar_t* const (&names)[N], int (*from_name)(std::wstring_view)) {
  for (std::size_t i = 0; i < N; ++i) {
    EXPECT_EQ(from_name(names[i]), static_cast<int>(i)) << ToUtf8(names[i]);
    EXPECT_EQ(NameOf(static_cast<E>(i)), names[i]);
  }
  EXPECT_EQ(NameOf(static_cast<E>(N)), L"");
  EXPECT_EQ(NameOf(static_cast<E>(-1)), L"");
}

TEST(FigTypesTest, NamesAndOrdinalsAreFixed) {
  const wchar_t* const locations[] = {L"lsUnknow", L"lsRegistry", L"lsDisk", L"lsRegistryItem"};
  ExpectRoundTrip<TLocationStyle>(locations, LocationStyleFromName);
  const wchar_t* const categories[] = {L"tcUnknow", L"tcARegFix", L"tcBPrivacySweep",
                                       L"tcCJunkFile", L"tcDSystemOptimization"};
  ExpectRoundTrip<TTopicCategory>(categories, TopicCategoryFromName);
  const wchar_t* const statuses[] = {L"tsUncured", L"tsCured"};
  ExpectRoundTrip<TTopicStatus>(statuses, TopicStatusFromName);
  const wchar_t* const rules[] = {
      L"rsRegistryBoostOrFix", L"rsActiveX",     L"rsUninstall", L"rsAppPaths",
      L"rsFonts",              L"rsSharedDlls",  L"rsHelp",      L"rsDrivers",
      L"rsShortcuts",          L"rsHistoryNMRU", L"rsStartup",   L"rsFileType",
      L"rsEmptyKey",           L"rsJunkFile",    L"rsRegistryHistory", L"rsRurudOraziv"};
  ExpectRoundTrip<TRuleStyle>(rules, RuleStyleFromName);
  const wchar_t* const reasons[] = {
      L"frActiveXServerCmdNotExists", L"frActiveXTypeLibNotExists", L"frActiveXAppIDNotExists",
      L"frActiveXEmptyKey",           L"frUninstallFileNotExists",  L"frEmptyUninstallInfo",
      L"frAppPathNotExists",          L"frFontNotFound",            L"frSharedDllNotFound",
      L"frSharedDllIsNotUsed",        L"frHelpFileNotFound",        L"frDriverNotFound",
      L"frShortcutLinkError",         L"frHistoryNMRU",             L"frStartupItemNotCorrect",
      L"frNoAppOpenWithFile",         L"frEmptyKey",                L"frJunkFile",
      L"frRegistryHistory",           L"frIEStartPageIsNotBlank",   L"frNeedRegistryBoostOrFix",
      L"frNeedSweep"};
  ExpectRoundTrip<TFigReason>(reasons, FigReasonFromName);
  const wchar_t* const cures[] = {L"csUncured", L"csCured", L"csIgnored"};
  ExpectRoundTrip<TFigCureStatus>(cures, FigCureStatusFromName);
}

TEST(FigTypesTest, ReadingIgnoresCaseAndUnknownNamesGiveMinusOne) {
  struct {
    const wchar_t* name;
    int expected;
  } cases[] = {
      {L"tcaregfix", tcARegFix},
      {L"TCAREGFIX", tcARegFix},
      {L"TcARegFIX", tcARegFix},
      {L"tcARegFix ", -1},  // no trimming
      {L"ARegFix", -1},
      {L"", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TopicCategoryFromName(c.name), c.expected) << ToUtf8(c.name);
  }
  EXPECT_EQ(RuleStyleFromName(L"RSJUNKFILE"), rsJunkFile);
  EXPECT_EQ(LocationStyleFromName(L"lsFloppy"), -1);
}

TEST(FigTypesTest, RuleParamsPutEachFieldOnALineEndedByCrLf) {
  EXPECT_EQ(FormatRuleParams(L"rsJunkFile,.tmp,.log"), L"rsJunkFile\r\n.tmp\r\n.log\r\n");
  EXPECT_EQ(FormatRuleParams(L"rsActiveX"), L"rsActiveX\r\n");
  EXPECT_EQ(FormatRuleParams(L"rsJunkFile,,.log"), L"rsJunkFile\r\n\r\n.log\r\n");
}

TEST(FigTypesTest, AFreshItemCarriesNoVerdict) {
  const TFigScanedItem item;
  EXPECT_EQ(item.SID, 0);
  EXPECT_TRUE(item.RuleParams.empty() && item.RuleCaption.empty() && item.FigResult.Msg.empty());
  EXPECT_EQ(item.FigResult.Level, 0);
  EXPECT_FALSE(item.ValueCheck);
  EXPECT_FALSE(item.Checked);
  EXPECT_FALSE(item.FigResult.MatchFlag);
}

}  // namespace
}  // namespace brimlow::scan
