#include <gtest/gtest.h>

#include <string>

#include "base/Text.h"
#include "cure/RegUtils.h"
#include "platform/Platform.h"
#include "regfile/RegFile.h"
#include "support/ScratchSystem.h"

namespace brimlow::cure {
namespace {

using platform::MakeDwordValue;
using platform::MakeStringValue;
using platform::RegValue;
namespace RegType = platform::RegType;

const std::wstring kHeader = L"Windows Registry Editor Version 5.00\r\n\r\n";

std::wstring StreamText(const TRegExporter& exporter) {
  const Bytes& bytes = exporter.Stream();
  EXPECT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFE);
  return FromUtf16LeBytes(bytes.data() + 2, bytes.size() - 2);
}

class RegUtilsTest : public ::testing::Test {
 protected:
  void Set(const RegValue& value) {
    ASSERT_TRUE(platform::Ok(platform::Reg().SetValue(scratch_.RegRoot(), Key(), value)));
  }
  std::wstring Key() const { return scratch_.RegPath(); }

  testing::ScratchSystem scratch_;
  const std::wstring root_ = L"HKEY_CURRENT_USER";
};

TEST_F(RegUtilsTest, EmptyExporterSavesBomAndHeaderOnly) {
  TRegExporter exporter;
  const std::wstring path = scratch_.Folder() + L"empty.reg";
  ASSERT_TRUE(exporter.SaveToFile(path));
  Bytes content;
  ASSERT_TRUE(platform::Ok(platform::Files().ReadFile(path, &content)));
  Bytes expected = {0xFF, 0xFE};
  const Bytes header = ToUtf16LeBytes(kHeader);
  expected.insert(expected.end(), header.begin(), header.end());
  EXPECT_EQ(content, expected);
}

TEST_F(RegUtilsTest, ValuesRenderInDisplayForm) {
  Set(MakeDwordValue(L"max", 4294967295u));
  Set(MakeDwordValue(L"ten", 10));
  Set(RegValue{L"bin", RegType::kBinary, {0x00, 0x7F, 0xFF}});
  Set(RegValue{L"nobytes", RegType::kBinary, {}});
  Set(MakeStringValue(L"exp", L"%SystemRoot%\\x", RegType::kExpandSz));
  Set(MakeStringValue(L"", L"default"));
  Set(RegValue{L"multi", RegType::kMultiSz, ToUtf16LeBytes(std::wstring(L"a\0b\0\0", 5))});
  Set(RegValue{L"qword", RegType::kQword, {1, 0, 0, 0, 0, 0, 0, 0}});
  struct {
    const wchar_t* name;
    const wchar_t* line;
    const wchar_t* value;
    const wchar_t* name_text;
  } cases[] = {
      {L"max", L"\"max\"=dword:FFFFFFFF", L"dword:FFFFFFFF", L"\"max\""},
      {L"ten", L"\"ten\"=dword:0000000A", L"dword:0000000A", L"\"ten\""},
      {L"bin", L"\"bin\"=hex:00,7F,FF", L"hex:00,7F,FF", L"\"bin\""},
      {L"nobytes", L"\"nobytes\"=hex:", L"hex:", L"\"nobytes\""},
      {L"exp", L"\"exp\"=\"%SystemRoot%\\x\"", L"\"%SystemRoot%\\x\"", L"\"exp\""},
      {L"", L"@=\"default\"", L"\"default\"", L"@"},
      {L"multi", L"", L"", L""},
      {L"qword", L"", L"", L""},
      // Missing value: the name quoted as it is, no line.
      {L"gone\\x", L"", L"Not Found!", L"\"gone\\x\""},
  };
  for (const auto& c : cases) {
    const RegValueLine got = FormatRegValueLine(root_, Key(), c.name);
    EXPECT_EQ(got.line, c.line) << ToUtf8(c.name);
    EXPECT_EQ(got.valueText, c.value) << ToUtf8(c.name);
    EXPECT_EQ(got.nameText, c.name_text) << ToUtf8(c.name);
  }
}

TEST_F(RegUtilsTest, KeyThatCannotBeOpenedGivesAnEmptyStringLine) {
  const RegValueLine missing_key = FormatRegValueLine(root_, Key() + L"\\absent", L"v");
  EXPECT_EQ(missing_key.line, L"\"v\"=\"\"");
  const RegValueLine unknown_root = FormatRegValueLine(L"HKCU", Key(), L"");
  EXPECT_EQ(unknown_root.line, L"@=\"\"");
  EXPECT_EQ(unknown_root.valueText, L"\"\"");
}

TEST_F(RegUtilsTest, EscapesAreAppliedOnceInEachForm) {
  Set(MakeStringValue(L"a\\b", L"say \"hi\" C:\\dir"));
  const RegValueLine display = FormatRegValueLine(root_, Key(), L"a\\b");
  EXPECT_EQ(display.line, L"\"a\\\\b\"=\"say \\\"hi\\\" C:\\dir\"");

  TRegExporter exporter;
  exporter.AddItem(root_, Key(), L"a\\b");
  EXPECT_EQ(StreamText(exporter), kHeader + L"[" + root_ + L"\\" + Key() + L"]\r\n" +
                                      L"\"a\\\\b\"=\"say \\\"hi\\\" C:\\\\dir\"\r\n\r\n");
}

TEST_F(RegUtilsTest, BackupNamesAndTextsReadBackUnchanged) {
  // The backup must give the registry editor the same name and text.
  const std::wstring name = L"q\"uote\\d";
  const std::wstring text = L"\\\\server\\share \"x\"";
  Set(MakeStringValue(name, text));
  Set(MakeDwordValue(L"n", 7));
  TRegExporter exporter;
  exporter.AddItem(root_, Key(), name);
  exporter.AddItem(root_, Key(), L"n");
  std::vector<regfile::RegOp> ops;
  regfile::ParseError error;
  ASSERT_TRUE(regfile::ParseRegFile(exporter.Stream(), &ops, &error))
      << error.line << ": " << ToUtf8(error.message);
  ASSERT_EQ(ops.size(), 4u);  // key, value, key, value
  EXPECT_EQ(ops[1].value, MakeStringValue(name, text));
  EXPECT_EQ(ops[3].value, MakeDwordValue(L"n", 7));
  EXPECT_EQ(ops[0].key, ops[2].key);  // two sections with the same key line
}

TEST_F(RegUtilsTest, BackupSkipsWhatCannotBeRestored) {
  Set(RegValue{L"multi", RegType::kMultiSz, ToUtf16LeBytes(std::wstring(L"a\0\0", 3))});
  TRegExporter exporter;
  exporter.AddItem(root_, Key(), L"multi");
  exporter.AddItem(root_, Key(), L"missing");
  exporter.AddItem(root_, Key() + L"\\absent", L"v");
  exporter.AddItem(L"HKEY_NOWHERE", Key(), L"v");
  EXPECT_EQ(StreamText(exporter), kHeader);
}

TEST_F(RegUtilsTest, TopicLinesAreConvertedToFileForm) {
  struct {
    const wchar_t* line;
    const wchar_t* written;
  } cases[] = {
      {L"\"Max\"=DWORD:0000000A", L"\"Max\"=dword:0000000A"},
      {L"\"Max\"=Dword:0000000A", L"\"Max\"=Dword:0000000A"},
      {L"\"Path\"=\"C:\\Temp\\\"", L"\"Path\"=\"C:\\\\Temp\\\\\""},
      {L"\"a\\b\"=\"x\"", L"\"a\\\\b\"=\"x\""},
      {L"\"Say\"=\"a \\\"b\\\" c\"", L"\"Say\"=\"a \\\"b\\\" c\""},
      {L"@=hex:01,02", L"@=hex:01,02"},
  };
  for (const auto& c : cases) {
    TRegExporter exporter;
    exporter.AddRegItem(L"HKEY_LOCAL_MACHINE", L"Software\\X", c.line);
    EXPECT_EQ(StreamText(exporter),
              kHeader + L"[HKEY_LOCAL_MACHINE\\Software\\X]\r\n" + c.written + L"\r\n\r\n")
        << ToUtf8(c.line);
  }
  TRegExporter exporter;
  exporter.AddRegItem(L"HKEY_LOCAL_MACHINE", L"Software\\X", L"");
  EXPECT_EQ(StreamText(exporter), kHeader);
}

TEST_F(RegUtilsTest, ImportOfAMissingFileStartsNothing) {
  EXPECT_FALSE(ImportRegFile(scratch_.Folder() + L"absent.reg"));
}

TEST_F(RegUtilsTest, ExportedFileImportsBack) {
  Set(MakeStringValue(L"s", L"C:\\a \"b\""));
  Set(MakeDwordValue(L"d", 0x12345678));
  Set(RegValue{L"b", RegType::kBinary, {1, 2, 3}});
  TRegExporter exporter;
  for (const wchar_t* name : {L"s", L"d", L"b"}) exporter.AddItem(root_, Key(), name);
  exporter.AddRegItem(root_, Key(), L"\"topic\"=DWORD:00000010");
  const std::wstring path = scratch_.Folder() + L"backup.reg";
  ASSERT_TRUE(exporter.SaveToFile(path));
  ASSERT_TRUE(platform::Ok(platform::Reg().DeleteKeyTree(scratch_.RegRoot(), Key())));

  ASSERT_TRUE(ImportRegFile(path));
  RegValue value;
  ASSERT_TRUE(platform::Ok(platform::Reg().QueryValue(scratch_.RegRoot(), Key(), L"s", &value)));
  EXPECT_EQ(platform::RegValueText(value), L"C:\\a \"b\"");
  ASSERT_TRUE(platform::Ok(platform::Reg().QueryValue(scratch_.RegRoot(), Key(), L"d", &value)));
  EXPECT_EQ(platform::RegValueDword(value), 0x12345678u);
  ASSERT_TRUE(platform::Ok(platform::Reg().QueryValue(scratch_.RegRoot(), Key(), L"b", &value)));
  EXPECT_EQ(value.data, (Bytes{1, 2, 3}));
  ASSERT_TRUE(
      platform::Ok(platform::Reg().QueryValue(scratch_.RegRoot(), Key(), L"topic", &value)));
  EXPECT_EQ(platform::RegValueDword(value), 0x10u);
}

}  // namespace
}  // namespace brimlow::cure
