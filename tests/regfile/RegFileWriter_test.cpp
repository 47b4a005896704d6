#include <gtest/gtest.h>

#include "RegFileTestUtil.h"
#include "regfile/RegFile.h"

namespace brimlow::regfile {
namespace {

using platform::MakeDwordValue;
using platform::MakeStringValue;
using platform::RegValue;
namespace RegType = platform::RegType;

Bytes Seq(std::size_t n, std::uint8_t first = 0) {
  Bytes bytes;
  for (std::size_t i = 0; i < n; ++i) bytes.push_back(static_cast<std::uint8_t>(first + i));
  return bytes;
}

TEST(RegFileWriterTest, WritesTheEditorExportLayout) {
  RegFileWriter writer;
  writer.AddKey(L"HKEY_CURRENT_USER\\Software\\T");
  writer.AddValue(MakeStringValue(L"", L"x"));
  writer.AddValue(MakeDwordValue(L"n", 42));
  writer.AddKey(L"HKEY_CURRENT_USER\\Software\\T\\Empty");
  writer.AddKeyDeletion(L"HKEY_CURRENT_USER\\Software\\Old");
  writer.AddKey(L"HKEY_CURRENT_USER\\Software\\U");
  writer.AddValueDeletion(L"gone");
  writer.AddValueDeletion(L"");
  const std::wstring expected =
      L"Windows Registry Editor Version 5.00\r\n"
      L"\r\n"
      L"[HKEY_CURRENT_USER\\Software\\T]\r\n"
      L"@=\"x\"\r\n"
      L"\"n\"=dword:0000002a\r\n"
      L"\r\n"
      L"[HKEY_CURRENT_USER\\Software\\T\\Empty]\r\n"
      L"\r\n"
      L"[-HKEY_CURRENT_USER\\Software\\Old]\r\n"
      L"\r\n"
      L"[HKEY_CURRENT_USER\\Software\\U]\r\n"
      L"\"gone\"=-\r\n"
      L"@=-\r\n"
      L"\r\n";
  EXPECT_EQ(writer.Text(), expected);
  EXPECT_EQ(writer.FileBytes(), testing::Utf16File(expected));

  const std::wstring empty = L"Windows Registry Editor Version 5.00\r\n\r\n";
  EXPECT_EQ(RegFileWriter().Text(), empty);
}

TEST(RegFileWriterTest, FormatsEachValueType) {
  struct Case {
    RegValue value;
    const wchar_t* line;
  } cases[] = {
      {MakeStringValue(L"", L""), L"@=\"\""},
      {MakeStringValue(L"a\\b\"c", L"C:\\x \"q\""), L"\"a\\\\b\\\"c\"=\"C:\\\\x \\\"q\\\"\""},
      {MakeDwordValue(L"d", 0xFFFFFFFFu), L"\"d\"=dword:ffffffff"},
      {MakeDwordValue(L"d", 10), L"\"d\"=dword:0000000a"},
      {MakeStringValue(L"e", L"%A%", RegType::kExpandSz),
       L"\"e\"=hex(2):25,00,41,00,25,00,00,00"},
      {RegValue{L"b", RegType::kBinary, {}}, L"\"b\"=hex:"},
      {RegValue{L"b", RegType::kBinary, {0x00, 0x7F, 0xFF}}, L"\"b\"=hex:00,7f,ff"},
      {RegValue{L"q", RegType::kQword, Seq(8, 1)}, L"\"q\"=hex(b):01,02,03,04,05,06,07,08"},
      {RegValue{L"n", RegType::kNone, {}}, L"\"n\"=hex(0):"},
      {RegValue{L"u", 0x12345678u, {0xAB}}, L"\"u\"=hex(12345678):ab"},
      // A number that is not 4 bytes long cannot be written as dword:.
      {RegValue{L"d", RegType::kDword, {1, 2, 3}}, L"\"d\"=hex(4):01,02,03"},
      // Strings that are not one clean, terminated line keep their bytes.
      {RegValue{L"s", RegType::kSz, {}}, L"\"s\"=hex(1):"},
      {RegValue{L"s", RegType::kSz, {0x41, 0x00}}, L"\"s\"=hex(1):41,00"},
      {RegValue{L"s", RegType::kSz, {0x41, 0x00, 0x00}}, L"\"s\"=hex(1):41,00,00"},
      {RegValue{L"s", RegType::kSz, {0x41, 0, 0, 0, 0x42, 0, 0, 0}},
       L"\"s\"=hex(1):41,00,00,00,42,00,00,00"},
      {MakeStringValue(L"s", L"two\r\nlines"),
       L"\"s\"=hex(1):74,00,77,00,6f,00,0d,00,0a,00,6c,00,69,00,6e,00,65,00,73,00,00,00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatValueLine(c.value), c.line) << ToUtf8(c.line);
  }
}

// Each line, continuation lines included, stays within 80 columns and a
// break falls only where the editor puts it: after a comma, once the line
// has reached 77 characters.
TEST(RegFileWriterTest, WrapsHexDataLikeTheEditor) {
  for (const std::size_t name_length : {0, 1, 5, 60, 70, 74, 75, 76, 100}) {
    for (const std::size_t size : {1, 21, 22, 23, 48, 200}) {
      const RegValue value{std::wstring(name_length, L'n'), RegType::kBinary, Seq(size)};
      const std::wstring text = FormatValueLine(value);
      std::size_t start = 0;
      std::size_t lines = 0;
      for (;;) {
        const auto end = text.find(L"\r\n", start);
        const std::wstring line = text.substr(start, end - start);
        ++lines;
        if (end == std::wstring::npos) break;
        EXPECT_EQ(line.substr(line.size() - 2), L",\\");
        EXPECT_GE(line.size() - 1, 77u) << "broken too early: " << ToUtf8(line);
        if (name_length < 70) {
          EXPECT_LE(line.size(), 80u) << ToUtf8(line);
        }
        start = end + 2;
        EXPECT_EQ(text.substr(start, 2), L"  ");
      }
      if (name_length == 0 && size == 200) {
        EXPECT_EQ(lines, 9u);
      }
    }
  }
}

TEST(RegFileWriterTest, EveryValueSurvivesWriteAndRead) {
  const RegValue values[] = {
      MakeStringValue(L"", L"default"),
      MakeStringValue(L"plain", L"text"),
      MakeStringValue(L"esc \\ \" ]", L"\\\\server\\share \"q\" ; not a comment"),
      MakeStringValue(L"unicode \x4E2D", L"\xE9\x20AC\xD83D\xDE00"),
      MakeStringValue(L"empty", L""),
      MakeStringValue(L"exp", L"%SystemRoot%\\x", RegType::kExpandSz),
      RegValue{L"multi", RegType::kMultiSz, ToUtf16LeBytes(std::wstring(L"a\0b\0\0", 5))},
      MakeDwordValue(L"dword", 0x80000001u),
      RegValue{L"qword", RegType::kQword, Seq(8, 0xF0)},
      RegValue{L"binary", RegType::kBinary, Seq(300)},
      RegValue{L"binary0", RegType::kBinary, {}},
      RegValue{L"none", RegType::kNone, {1, 2}},
      RegValue{L"big-endian", RegType::kDwordBigEndian, {0, 0, 0, 1}},
      RegValue{L"link", RegType::kLink, {0x41, 0}},
      RegValue{L"resource", RegType::kResourceRequirementsList, Seq(40)},
      RegValue{L"odd type", 0xFFFFFFFFu, {7}},
      RegValue{L"sz odd", RegType::kSz, {0x41}},
      RegValue{L"sz unterminated", RegType::kSz, {0x41, 0}},
      RegValue{L"sz two zeros", RegType::kSz, {0x41, 0, 0, 0, 0, 0}},
      RegValue{L"sz newline", RegType::kSz, {0x0A, 0, 0, 0}},
      RegValue{L"dword short", RegType::kDword, {1}},
      RegValue{std::wstring(90, L'w'), RegType::kBinary, Seq(100)},
  };
  RegFileWriter writer;
  writer.AddKey(L"HKEY_LOCAL_MACHINE\\Software\\RoundTrip");
  for (const auto& value : values) writer.AddValue(value);

  std::vector<RegOp> ops;
  ParseError error;
  ASSERT_TRUE(ParseRegFile(writer.FileBytes(), &ops, &error))
      << error.line << ": " << ToUtf8(error.message);
  ASSERT_EQ(ops.size(), std::size(values) + 1);
  for (std::size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(ops[i + 1].kind, RegOp::Kind::kSetValue);
    EXPECT_EQ(ops[i + 1].value, values[i]) << ToUtf8(FormatValueLine(values[i]));
  }
}

}  // namespace
}  // namespace brimlow::regfile
