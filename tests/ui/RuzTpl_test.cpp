#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/Text.h"
#include "platform/Platform.h"
#include "support/ScratchSystem.h"
#include "ui/RuzTpl.h"

namespace brimlow {
namespace {

// Renders `tpl` after `fill`; the result, or "ERROR: ..." for a refused
// template.
std::wstring Render(const std::wstring& tpl, const std::function<void(TRuzTpl&)>& fill) {
  TRuzTpl engine;
  engine.LoadTplText(tpl);
  fill(engine);
  std::wstring error;
  if (!engine.MakeHtml(&error)) return L"ERROR: " + error;
  return engine.Html();
}

struct Case {
  const char* name;
  std::wstring tpl;
  std::function<void(TRuzTpl&)> fill;
  std::wstring expected;
};

TEST(RuzTpl, RendersVariablesAndBlocks) {
  const Case cases[] = {
      {"one reference", L"A{x}B", [](TRuzTpl& t) { t.SetVar(L"x", L"1"); }, L"A1B\r\n"},
      {"names ignore case", L"{X}", [](TRuzTpl& t) { t.SetVar(L"x", L"1"); }, L"1\r\n"},
      {"backslash apostrophe", L"{x}", [](TRuzTpl& t) { t.SetVar(L"x", L"it\\'s \\\\'"); },
       L"it's \\'\r\n"},
      {"first value wins", L"{x}",
       [](TRuzTpl& t) {
         t.SetVar(L"x", L"first");
         t.SetVar(L"x", L"second");
       },
       L"first\r\n"},
      {"unset variable is empty", L"[{nothing}]", [](TRuzTpl&) {}, L"[]\r\n"},
      {"digit first is no reference", L"{1x}{x_1}", [](TRuzTpl& t) { t.SetVar(L"x_1", L"v"); },
       L"{1x}v\r\n"},
      {"values are not escaped", L"{x}", [](TRuzTpl& t) { t.SetVar(L"x", L"<b>&</b>"); },
       L"<b>&</b>\r\n"},
      {"lines end in CR LF", L"a\nb\r\nc\r\n", [](TRuzTpl&) {}, L"a\r\nb\r\nc\r\n"},
      {"block begun twice with fallback to the top",
       L"<ul><!-- begin block news --><li>{title} {site}</li><!-- end block news --></ul>",
       [](TRuzTpl& t) {
         t.SetVar(L"site", L"S");
         t.BeginBlock(L"news");
         t.SetVar(L"title", L"one");
         t.EndBlock(L"news");
         t.BeginBlock(L"news");
         t.SetVar(L"title", L"two");
         t.EndBlock(L"news");
       },
       L"<ul><li>one S</li><li>two S</li></ul>\r\n"},
      {"block never begun", L"a<!-- begin block news -->{x}<!-- end block news -->b",
       [](TRuzTpl& t) { t.SetVar(L"x", L"X"); }, L"ab\r\n"},
      {"text before a repeated block is written once",
       L"{h}head<!-- begin block r -->[{v}]<!-- end block r -->tail",
       [](TRuzTpl& t) {
         t.SetVar(L"h", L"H");
         for (const wchar_t* v : {L"1", L"2", L"3"}) {
           t.BeginBlock(L"r");
           t.SetVar(L"v", v);
           t.EndBlock();
         }
       },
       L"Hhead[1][2][3]tail\r\n"},
      {"nested blocks restart their numbering",
       L"<!-- begin block news -->{title}:<!-- begin block line -->{text}{title},<!-- end block line -->;"
       L"<!-- end block news -->",
       [](TRuzTpl& t) {
         t.BeginBlock(L"news");
         t.SetVar(L"title", L"A");
         t.BeginBlock(L"line");
         t.SetVar(L"text", L"a1");
         t.EndBlock();
         t.BeginBlock(L"line");
         t.SetVar(L"text", L"a2");
         t.EndBlock();
         t.EndBlock();
         t.BeginBlock(L"news");
         t.SetVar(L"title", L"B");
         t.BeginBlock(L"line");
         t.SetVar(L"text", L"b1");
         t.EndBlock();
         t.EndBlock();
       },
       L"A:a1A,a2A,;B:b1B,;\r\n"},
      {"marks ignore case, end name not checked",
       L"<!-- BEGIN BLOCK b -->x<!-- End Block other -->y", [](TRuzTpl& t) {
         t.BeginBlock(L"B");
         t.EndBlock();
       },
       L"xy\r\n"},
      {"block left open writes the rest unchanged",
       L"a<!-- begin block b -->{x}<!-- end block b -->c<!-- begin block open -->z",
       [](TRuzTpl& t) { t.SetVar(L"x", L"X"); }, L"acz\r\n"},
      // "new" starts like the earlier "news" but is another block: its
      // first iteration is number 0, so it is shown.
      {"a block named like the start of the last one is another block",
       L"<!-- begin block news -->{t}<!-- end block news -->|<!-- begin block new -->{t}<!-- end block new -->",
       [](TRuzTpl& t) {
         t.BeginBlock(L"news");
         t.SetVar(L"t", L"N");
         t.EndBlock();
         t.BeginBlock(L"new");
         t.SetVar(L"t", L"M");
         t.EndBlock();
       },
       L"N|M\r\n"},
      // Filling another block in between restarts the numbering: the
      // repeated iteration names are taken, the earlier entries win.
      {"interleaved iterations collide",
       L"<!-- begin block a -->{v}<!-- end block a -->/<!-- begin block b -->{v}<!-- end block b -->",
       [](TRuzTpl& t) {
         t.BeginBlock(L"a");
         t.SetVar(L"v", L"a0");
         t.EndBlock();
         t.BeginBlock(L"b");
         t.SetVar(L"v", L"b0");
         t.EndBlock();
         t.BeginBlock(L"a");
         t.SetVar(L"v", L"a1");
         t.EndBlock();
       },
       L"a0/b0\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ToUtf8(Render(c.tpl, c.fill)), ToUtf8(c.expected));
  }
}

std::wstring Nested(int depth) {
  std::wstring tpl;
  for (int i = 0; i < depth; ++i) tpl += L"<!-- begin block b" + std::to_wstring(i) + L" -->";
  tpl += L"{x}";
  for (int i = depth - 1; i >= 0; --i) tpl += L"<!-- end block b" + std::to_wstring(i) + L" -->";
  return tpl;
}

TEST(RuzTpl, MalformedTemplatesAreRefused) {
  const auto none = [](TRuzTpl&) {};
  const Case cases[] = {
      {"end mark without a block", L"a<!-- end block x -->b", none,
       L"ERROR: an end mark without an open block: \"<!-- end block x -->\""},
      {"one end mark too many", L"<!-- begin block x --><!-- end block x --><!-- end block x -->", none,
       L"ERROR: an end mark without an open block: \"<!-- end block x -->\""},
      {"ten deep", Nested(10), none, L"ERROR: blocks nested deeper than 9 at \"<!-- begin block b9 -->\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ToUtf8(Render(c.tpl, c.fill)), ToUtf8(c.expected));
  }
}

TEST(RuzTpl, NineDeepIsTheLimitWhileFillingAndRendering) {
  TRuzTpl engine;
  engine.LoadTplText(Nested(9));
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(engine.BeginBlock(L"b" + std::to_wstring(i)));
  EXPECT_FALSE(engine.BeginBlock(L"deeper"));
  engine.SetVar(L"x", L"deep");
  EXPECT_TRUE(engine.EndBlock()) << "closes the refused block";
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(engine.EndBlock());
  EXPECT_FALSE(engine.EndBlock()) << "nothing open";
  std::wstring error;
  ASSERT_TRUE(engine.MakeHtml(&error)) << ToUtf8(error);
  EXPECT_EQ(engine.Html(), L"deep\r\n");
}

TEST(RuzTpl, GetVarLooksOutwardsAndInStrRevCountsFromZero) {
  TRuzTpl engine;
  engine.SetVar(L"top", L"T");
  engine.BeginBlock(L"news");
  engine.SetVar(L"own", L"O");
  EXPECT_EQ(engine.GetVar(L"@news[0]", L"own"), L"O");
  EXPECT_EQ(engine.GetVar(L"@news[0]", L"top"), L"T");
  EXPECT_EQ(engine.GetVar(L"", L"own"), L"");
  EXPECT_EQ(TRuzTpl::InStrRev(L"@news[0]@line[2]", L"@"), 8);
  EXPECT_EQ(TRuzTpl::InStrRev(L"abc", L"@"), -1);
  EXPECT_EQ(TRuzTpl::InStrRev(L"abc", L""), -1);
}

TEST(RuzTpl, LoadsTemplateFilesByTheirByteOrderMark) {
  testing::ScratchSystem system;
  const struct {
    const char* name;
    Bytes bytes;
  } files[] = {
      {"ansi", {'c', 'a', 'f', 0xE9, '{', 'x', '}'}},
      {"utf-8", {0xEF, 0xBB, 0xBF, 'c', 'a', 'f', 0xC3, 0xA9, '{', 'x', '}'}},
      {"utf-16le", {0xFF, 0xFE, 'c', 0, 'a', 0, 'f', 0, 0xE9, 0, '{', 0, 'x', 0, '}', 0}},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    const std::wstring path = system.Folder() + L"info.html";
    ASSERT_EQ(platform::Files().WriteFileAtomic(path, f.bytes), platform::Result::kOk);
    TRuzTpl engine;
    std::wstring error;
    ASSERT_TRUE(engine.LoadTpl(path, &error)) << ToUtf8(error);
    engine.SetVar(L"x", L"!");
    ASSERT_TRUE(engine.MakeHtml(&error));
    EXPECT_EQ(engine.Html(), L"caf\u00e9!\r\n");
  }
  TRuzTpl missing;
  std::wstring error;
  EXPECT_FALSE(missing.LoadTpl(system.Folder() + L"absent.html", &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace brimlow
