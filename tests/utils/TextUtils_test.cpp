#include "framework/utils/TextUtils.h"

#include <gtest/gtest.h>

#include "base/Text.h"

namespace brimlow {
namespace {

using List = std::vector<std::wstring>;

TEST(TextUtilsTest, SafeStrToInt) {
  struct Case {
    const wchar_t* text;
    int expected;
  } cases[] = {
      {L"42", 42},          {L"-7", -7},         {L" 12 ", 12},        {L"", -1},
      {L"12a", -1},         {L"1.5", -1},        {L"2147483647", 2147483647},
      {L"2147483648", -1},  {L"-2147483648", -2147483647 - 1},
  };
  for (const auto& c : cases) EXPECT_EQ(SafeStrToInt(c.text, -1), c.expected) << ToUtf8(c.text);
}

TEST(TextUtilsTest, StartsWithTextIgnoresCase) {
  EXPECT_TRUE(StartsWithText(L"HTTPS://x", L"http"));
  EXPECT_TRUE(StartsWithText(L"abc", L""));
  EXPECT_FALSE(StartsWithText(L"ht", L"http"));
  EXPECT_FALSE(StartsWithText(L"ftp://x", L"http"));
}

TEST(TextUtilsTest, SplitText) {
  struct Case {
    const wchar_t* text;
    const wchar_t* delimiter;
    List expected;
  } cases[] = {
      {L"a,,b", L",", {L"a", L"", L"b"}},
      {L"a,b,", L",", {L"a", L"b", L""}},
      {L",", L",", {L"", L""}},
      {L"", L",", {}},
      {L"abc", L",", {L"abc"}},
      {L"a,b", L",,", {L"a,b"}},  // a two-character delimiter never matches
      {L"a,b", L"", {L"a,b"}},
  };
  for (const auto& c : cases) {
    List pieces;
    SplitText(c.text, c.delimiter, &pieces);
    EXPECT_EQ(pieces, c.expected) << ToUtf8(c.text) << " / " << ToUtf8(c.delimiter);
  }
}

TEST(TextUtilsTest, SplitTextAppendsToWhatTheListHolds) {
  List pieces{L"kept"};
  SplitText(L"a b", L' ', &pieces);
  EXPECT_EQ(pieces, (List{L"kept", L"a", L"b"}));
}

TEST(TextUtilsTest, FormatPlaceholders) {
  struct Case {
    const wchar_t* format;
    List texts;
    const wchar_t* expected;
  } cases[] = {
      {L"{1} found {2}, {1} again", {L"A", L"B"}, L"A found B, A again"},
      {L"{1} and {3}", {L"A"}, L"A and {3}"},
      {L"{0}{01}{+1}{ 1}{x}{", {L"A"}, L"{0}{01}{+1}{ 1}{x}{"},
      {L"{1}{2}", {L"{2}", L"B"}, L"{2}B"},  // inserted text is not searched again
      {L"{{1}}", {L"A"}, L"{A}"},
      {L"{10}", {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"ten"}, L"ten"},
      {L"<BR>{1}", {}, L"<BR>{1}"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatPlaceholders(c.format, c.texts), c.expected) << ToUtf8(c.format);
  }
}

TEST(TextUtilsTest, VersionToInt) {
  struct Case {
    const wchar_t* text;
    std::uint32_t expected;
  } cases[] = {
      {L"1.2.3.4 beta", 16909060u},
      {L"2.1.0.15", 0x0201000Fu},
      {L"1.2.3", 0u},
      {L"1.2.3.4.5", 0u},
      {L"1.300.3.4", 0x012C0304u},  // only the low byte of 300 (44)
      {L"1.x.3.4", 0x01000304u},    // a malformed part counts 0
      {L"255.255.255.255", 0xFFFFFFFFu},
      {L"", 0u},
      {L" 1.2.3.4", 0u},  // the first word is empty
  };
  for (const auto& c : cases) EXPECT_EQ(VersionToInt(c.text), c.expected) << ToUtf8(c.text);
}

TEST(TextUtilsTest, HexOfLowBytes) {
  EXPECT_EQ(HexOfLowBytes(L"abc", 3), L"616263");
  EXPECT_EQ(HexOfLowBytes(L"unknow", 6), L"756E6B6E6F77");
  EXPECT_EQ(HexOfLowBytes(L"\x20AC\xFF", 2), L"ACFF");  // low bytes only
  EXPECT_EQ(HexOfLowBytes(L"abc", 2), L"6162");
  EXPECT_EQ(HexOfLowBytes(L"abc", 10), L"616263");
  EXPECT_EQ(HexOfLowBytes(L"abc", 0), L"");
  EXPECT_EQ(HexOfLowBytes(L"abc", -1), L"");
}

}  // namespace
}  // namespace brimlow
