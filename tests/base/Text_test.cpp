#include "base/Text.h"

#include <gtest/gtest.h>

namespace brimlow {
namespace {

TEST(TextTest, Utf8RoundTripKeepsSurrogatePairsAsTwoUnits) {
  const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a, e-acute, euro, emoji
  const std::wstring text = FromUtf8(utf8);
  ASSERT_EQ(text.size(), 5u);
  EXPECT_EQ(static_cast<unsigned>(text[3]), 0xD83Du);
  EXPECT_EQ(ToUtf8(text), utf8);
}

TEST(TextTest, InvalidUtf8BecomesReplacementCharacter) {
  EXPECT_EQ(FromUtf8("a\xFF" "b"), std::wstring(L"a\xFFFD" L"b"));
  EXPECT_EQ(FromUtf8("\xE2\x82"), std::wstring(L"\xFFFD\xFFFD"));
}

TEST(TextTest, AnsiIsWindows1252) {
  EXPECT_EQ(FromAnsi("\x80\xE9"), std::wstring(L"\x20AC\xE9"));
  EXPECT_EQ(ToAnsi(L"\x20AC\xE9\x4E2D"), std::string("\x80\xE9?"));
}

TEST(TextTest, CaseInsensitiveComparison) {
  struct Case {
    const wchar_t* a;
    const wchar_t* b;
    bool same;
  } cases[] = {
      {L"HKEY_LOCAL_MACHINE", L"hkey_local_machine", true},
      {L"\xE9t\xE9", L"\xC9T\xC9", true},
      {L"\x0436", L"\x0416", true},
      {L"abc", L"abd", false},
      {L"abc", L"ab", false},
  };
  for (const auto& c : cases) EXPECT_EQ(SameText(c.a, c.b), c.same) << ToUtf8(c.a);
  EXPECT_LT(CompareText(L"Apple", L"banana"), 0);
}

TEST(TextTest, ParseInt64AcceptsOnlyPlainDecimals) {
  struct Case {
    const wchar_t* text;
    bool ok;
    std::int64_t value;
  } cases[] = {
      {L"42", true, 42},       {L"-7", true, -7},  {L"+3", true, 3},
      {L"", false, 0},         {L"-", false, 0},   {L"1x", false, 0},
      {L" 1", false, 0},       {L"9223372036854775807", true, INT64_MAX},
      {L"9223372036854775808", false, 0},
  };
  for (const auto& c : cases) {
    std::int64_t v = 0;
    EXPECT_EQ(ParseInt64(c.text, &v), c.ok) << ToUtf8(c.text);
    if (c.ok) {
      EXPECT_EQ(v, c.value);
    }
  }
}

}  // namespace
}  // namespace brimlow
