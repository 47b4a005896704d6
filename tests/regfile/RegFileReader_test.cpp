#include <gtest/gtest.h>

#include "RegFileTestUtil.h"
#include "regfile/RegFile.h"

namespace brimlow::regfile {
namespace {

using testing::AnsiFile;
using testing::Utf16File;
using testing::Utf8File;

// "set KEY|name|type|bytes" and the like: one line per operation, so a
// mismatch shows which operation differs.
std::string Describe(const RegOp& op) {
  static const char* kKinds[] = {"create", "delete-key", "set", "delete-value"};
  std::string text = std::string(kKinds[static_cast<int>(op.kind)]) + " " + ToUtf8(op.key);
  if (op.kind == RegOp::Kind::kSetValue || op.kind == RegOp::Kind::kDeleteValue) {
    text += "|" + ToUtf8(op.value.name);
  }
  if (op.kind != RegOp::Kind::kSetValue) return text;
  text += "|" + std::to_string(op.value.type) + "|";
  for (const auto b : op.value.data) {
    static const char kHex[] = "0123456789abcdef";
    text += kHex[b >> 4];
    text += kHex[b & 15];
  }
  return text;
}

std::vector<std::string> Parse(const Bytes& file, ParseError* error = nullptr) {
  std::vector<RegOp> ops;
  ParseError ignored;
  if (!ParseRegFile(file, &ops, error ? error : &ignored)) return {"error"};
  std::vector<std::string> lines;
  for (const auto& op : ops) lines.push_back(Describe(op));
  return lines;
}

TEST(RegFileReaderTest, ReadsEveryKindOfLine) {
  const std::wstring file =
      L"Windows Registry Editor Version 5.00\r\n"
      L"\r\n"
      L"; a comment\r\n"
      L"[HKEY_CURRENT_USER\\Software\\T]\r\n"
      L"@=\"default\"\r\n"
      L"\"Quote \\\" and \\\\\"=\"C:\\\\dir\\\\\\\"x\\\"\"\r\n"
      L"\"Keep\\n\"=\"a\\tb\"\r\n"
      L"  \"Spaced\" = dword:1f   ; trailing comment\r\n"
      L"\"Bin\"=hex:0,ff, 1a,\\\r\n"
      L"    02,\\\r\n"
      L"  03\r\n"
      L"\"Empty\"=hex:\r\n"
      L"\"Exp\"=hex(2):41,00,00,00\r\n"
      L"\"Q\"=hex(b):01,00,00,00,00,00,00,00\r\n"
      L"\"Odd\"=hex(12345678):AB\r\n"
      L"\"Gone\"=-\r\n"
      L"@=-\r\n"
      L"\r\n"
      L"[hkcu\\Software\\T\\Sub\\]\r\n"
      L"[-HKEY_LOCAL_MACHINE\\Software\\Old]\r\n";
  const std::vector<std::string> expected = {
      "create HKEY_CURRENT_USER\\Software\\T",
      "set HKEY_CURRENT_USER\\Software\\T||1|640065006600610075006c0074000000",
      "set HKEY_CURRENT_USER\\Software\\T|Quote \" and \\|1|"
      "43003a005c006400690072005c002200780022000000",
      "set HKEY_CURRENT_USER\\Software\\T|Keep\\n|1|61005c00740062000000",
      "set HKEY_CURRENT_USER\\Software\\T|Spaced|4|1f000000",
      "set HKEY_CURRENT_USER\\Software\\T|Bin|3|00ff1a0203",
      "set HKEY_CURRENT_USER\\Software\\T|Empty|3|",
      "set HKEY_CURRENT_USER\\Software\\T|Exp|2|41000000",
      "set HKEY_CURRENT_USER\\Software\\T|Q|11|0100000000000000",
      "set HKEY_CURRENT_USER\\Software\\T|Odd|305419896|ab",
      "delete-value HKEY_CURRENT_USER\\Software\\T|Gone",
      "delete-value HKEY_CURRENT_USER\\Software\\T|",
      "create hkcu\\Software\\T\\Sub",
      "delete-key HKEY_LOCAL_MACHINE\\Software\\Old",
  };
  EXPECT_EQ(Parse(Utf16File(file)), expected);

  // The same file with bare LF line ends reads the same.
  std::wstring lf = file;
  std::erase(lf, L'\r');
  EXPECT_EQ(Parse(Utf16File(lf)), expected);
}

TEST(RegFileReaderTest, RecordsTheLineOfEachOperation) {
  std::vector<RegOp> ops;
  ParseError error;
  ASSERT_TRUE(ParseRegFile(Utf16File(L"REGEDIT4\n\n[HKCU\\A]\n\"x\"=hex:01,\\\n 02\n\"y\"=\"\"\n"),
                           &ops, &error));
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(ops[0].line, 3);
  EXPECT_EQ(ops[1].line, 4);
  EXPECT_EQ(ops[2].line, 6);
}

TEST(RegFileReaderTest, DecodesEachEncodingTheEditorAccepts) {
  const std::wstring v5 = L"Windows Registry Editor Version 5.00\r\n\r\n[HKCU\\X]\r\n\"n\"=\"\xE9\x20AC\"\r\n";
  const std::wstring v4 =
      L"REGEDIT4\r\n\r\n[HKCU\\X]\r\n\"n\"=\"\xE9\x20AC\"\r\n\"e\"=hex(2):e9,80,00\r\n"
      L"\"m\"=hex(7):41,00,00\r\n\"s\"=hex(1):e9,00\r\n";
  const std::string text5 = "set HKCU\\X|n|1|e900ac200000";
  struct Case {
    const char* what;
    Bytes file;
    std::vector<std::string> ops;
  } cases[] = {
      {"5.00 UTF-16LE", Utf16File(v5), {"create HKCU\\X", text5}},
      {"5.00 UTF-8 with mark", Utf8File(v5, true), {"create HKCU\\X", text5}},
      {"5.00 UTF-8 without mark", Utf8File(v5), {"create HKCU\\X", text5}},
      {"5.00 ANSI", AnsiFile(v5), {"create HKCU\\X", text5}},
      // Version 4: strings and the text types given as hex are ANSI and are
      // widened; other hex data stays as written.
      {"REGEDIT4 ANSI",
       AnsiFile(v4),
       {"create HKCU\\X", text5, "set HKCU\\X|e|2|e900ac200000", "set HKCU\\X|m|7|410000000000",
        "set HKCU\\X|s|1|e900"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(c.file), c.ops) << c.what;
}

TEST(RegFileReaderTest, ReportsTheFirstMalformedLineAndReturnsNothing) {
  const std::wstring head = L"Windows Registry Editor Version 5.00\r\n\r\n[HKCU\\X]\r\n";
  struct Case {
    std::wstring file;
    int line;
    const char* reason;  // part of the message
  } cases[] = {
      {L"", 1, "first line"},
      {L"Windows Registry Editor Version 4.00\r\n", 1, "first line"},
      {L"REGEDIT4\r\n\"a\"=\"b\"\r\n", 2, "before the first"},
      {head + L"\"a\"=\"b\"\r\n[HKEY_NOWHERE\\X]\r\n", 5, "unknown root"},
      {head + L"[Software\\X]\r\n", 4, "unknown root"},
      {head + L"[HKCU\\X\r\n", 4, "closing bracket"},
      {head + L"[HKCU\\X] junk\r\n", 4, "after the closing bracket"},
      {head + L"[HKCU\\a\\\\b]\r\n", 4, "empty key name"},
      {head + L"[-HKEY_CURRENT_USER]\r\n", 4, "root key cannot be deleted"},
      {head + L"\"a\"=hex:0g\r\n", 4, "bad hex digit"},
      {head + L"\"a\"=hex:123\r\n", 4, "more than 2 digits"},
      {head + L"\"a\"=hex:01 02\r\n", 4, "comma"},
      {head + L"\"a\"=hex(zz):01\r\n", 4, "value type number"},
      {head + L"\"a\"=hex(2)01\r\n", 4, "expected :"},
      {head + L"\"a\"=dword:123456789\r\n", 4, "more than 8"},
      {head + L"\"a\"=dword:\r\n", 4, "without hex digits"},
      {head + L"\"a\"=dword:12x\r\n", 4, "bad hex digit"},
      {head + L"\"a\"=DWORD:1\r\n", 4, "unknown value type"},
      {head + L"\"a\"=\"open\r\n", 4, "unterminated string"},
      {head + L"\"a\"=\"ends in \\\"\r\n", 4, "unterminated string"},
      {head + L"\"a=\"b\"\r\n", 4, "expected ="},
      {head + L"\"open=1\r\n", 4, "unterminated value name"},
      {head + L"\"a\"=\"b\" c\r\n", 4, "after the closing quote"},
      {head + L"\"a\"=- x\r\n", 4, "after =-"},
      {head + L"@x=\"b\"\r\n", 4, "expected ="},
      {head + L"\"a\"=hex:01,\\\r\n", 4, "past the end"},
      {head + L"\"a\"=hex:01,\\\r\n\r\n02\r\n", 5, "continued"},
      {head + L"\"a\"=hex:01,\\ 02\r\n", 4, "after the continuation"},
      {head + L"\"a\"=hex:01\r\n  02\r\n", 5, "unrecognised line"},
      {head + L"[-HKCU\\Y]\r\n\"a\"=\"b\"\r\n", 5, "deleted"},
  };
  for (const auto& c : cases) {
    std::vector<RegOp> ops(1);
    ParseError error;
    EXPECT_FALSE(ParseRegFile(Utf16File(c.file), &ops, &error)) << ToUtf8(c.file);
    EXPECT_TRUE(ops.empty()) << ToUtf8(c.file);
    EXPECT_EQ(error.line, c.line) << ToUtf8(c.file);
    EXPECT_NE(ToUtf8(error.message).find(c.reason), std::string::npos)
        << ToUtf8(c.file) << " -> " << ToUtf8(error.message);
  }
}

TEST(RegFileReaderTest, SplitsRootNames) {
  using platform::RegRoot;
  struct Case {
    const wchar_t* full;
    bool ok;
    RegRoot root;
    const wchar_t* path;
  } cases[] = {
      {L"HKEY_LOCAL_MACHINE\\Software\\X", true, RegRoot::kLocalMachine, L"Software\\X"},
      {L"hkey_current_user", true, RegRoot::kCurrentUser, L""},
      {L"HKLM\\A", true, RegRoot::kLocalMachine, L"A"},
      {L"HKCU\\A", true, RegRoot::kCurrentUser, L"A"},
      {L"HKCR\\.txt", true, RegRoot::kClassesRoot, L".txt"},
      {L"HKU\\.DEFAULT", true, RegRoot::kUsers, L".DEFAULT"},
      {L"HKCC\\System", true, RegRoot::kCurrentConfig, L"System"},
      {L"HKEY_USERS\\S-1", true, RegRoot::kUsers, L"S-1"},
      {L"HKEY_CLASSES_ROOT", true, RegRoot::kClassesRoot, L""},
      {L"HKEY_CURRENT_CONFIG\\A", true, RegRoot::kCurrentConfig, L"A"},
      {L"HKEY_LOCAL_MACHINEX\\A", false, RegRoot::kClassesRoot, L""},
      {L"HKL\\A", false, RegRoot::kClassesRoot, L""},
      {L"", false, RegRoot::kClassesRoot, L""},
  };
  for (const auto& c : cases) {
    RegRoot root = RegRoot::kClassesRoot;
    std::wstring path;
    ASSERT_EQ(SplitRootKey(c.full, &root, &path), c.ok) << ToUtf8(c.full);
    if (!c.ok) continue;
    EXPECT_EQ(root, c.root) << ToUtf8(c.full);
    EXPECT_EQ(path, c.path) << ToUtf8(c.full);
    EXPECT_TRUE(SameText(FullKeyName(root, path).substr(0, 5), L"HKEY_"));
  }
  EXPECT_EQ(RootName(RegRoot::kLocalMachine), L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(FullKeyName(RegRoot::kUsers, L""), L"HKEY_USERS");
}

}  // namespace
}  // namespace brimlow::regfile
