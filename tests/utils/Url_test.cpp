#include "framework/utils/Url.h"

#include <gtest/gtest.h>

#include "base/Text.h"
#include "framework/utils/NameValueList.h"

namespace brimlow {
namespace {

using List = std::vector<std::wstring>;

TEST(UrlTest, AppendUrlParam) {
  struct Case {
    const wchar_t* url;
    const wchar_t* expected;
  } cases[] = {
      {L"", L"A=1"},
      {L"http://h/p", L"http://h/p?A=1"},
      {L"http://h/p?", L"http://h/p?A=1"},
      {L"http://h/p?lang=en", L"http://h/p?lang=en&A=1"},
      {L"http://h/p?lang=en&", L"http://h/p?lang=en&A=1"},
  };
  for (const auto& c : cases) EXPECT_EQ(AppendUrlParam(c.url, L"A=1"), c.expected) << ToUtf8(c.url);
}

TEST(UrlTest, ParseUrlParams) {
  struct Case {
    const wchar_t* url;
    bool decode;
    List expected;
  } cases[] = {
      // Without decoding the pieces arrive as they are.
      {L"http://h/p?a=1&b=x+y&&c", false, {L"a=1", L"b=x+y", L"", L"c"}},
      {L"vexa:showpage", false, {L"showpage"}},
      {L"vexa:cmd?a=1", false, {L"a=1"}},
      {L"x?y:a=1", false, {L"a=1"}},  // after "?", then after ":"
      {L"http://h/p", false, {L"//h/p"}},
      // Decoding.
      {L"vexa:?v=a+b%20c", true, {L"v=a b c"}},
      {L"vexa:?v=100%%25", true, {L"v=100%25"}},  // "%%" is a plain "%"
      {L"vexa:?v=%e9t%C9", true, {L"v=\xE9t\xC9"}},
      {L"vexa:?v=%80", true, {L"v=\x20AC"}},  // bytes in the 8-bit code page
      {L"vexa:?a=1&b=&c", true, {L"a=1"}},  // empty values add nothing
      {L"vexa:?a=1&A=2&b=3", true, {L"A=2", L"b=3"}},  // later replaces earlier, in place
      {L"vexa:?a=1&b=2&a=", true, {L"b=2"}},  // an empty value removes
      {L"vexa:?a=1&a", true, {}},             // so does a piece without "="
      {L"vexa:?a=%4&b=%zz&c=%&d=ok", true, {L"d=ok"}},  // undecodable pieces skipped
      {L"vexa:?e=x=y", true, {L"e=x=y"}},
  };
  for (const auto& c : cases) {
    List list;
    ParseUrlParams(c.url, &list, c.decode);
    EXPECT_EQ(list, c.expected) << ToUtf8(c.url) << (c.decode ? " decoded" : "");
  }
}

TEST(UrlTest, DecodedParamsAreSetIntoWhatTheListHolds) {
  List list{L"PAGE=home", L"keep=1"};
  ParseUrlParams(L"vexa:?page=help&keep=", &list, true);
  EXPECT_EQ(list, (List{L"page=help"}));
  EXPECT_EQ(ListValueOf(list, L"PAGE"), L"help");
  EXPECT_EQ(ListValueOf(list, L"missing"), L"");
}

}  // namespace
}  // namespace brimlow
