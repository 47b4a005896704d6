// Win32 build only: files of the writer and the reader against the system's
// own registry editor, both ways.

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "regfile/RegFile.h"
#include "support/ScratchSystem.h"

namespace brimlow::regfile {
namespace {

using platform::RegValue;
namespace RegType = platform::RegType;

bool RunRegedit(const std::wstring& arguments) {
  platform::StartInfo info;
  info.command_line = L"\"" + platform::Env().WindowsFolder() + L"\\regedit.exe\" " + arguments;
  info.hidden = true;
  info.wait = true;
  info.timeout_ms = 60000;
  return platform::Procs().Start(info);
}

const RegValue kValues[] = {
    platform::MakeStringValue(L"", L"default"),
    platform::MakeStringValue(L"esc \\ \"", L"C:\\dir\\\"q\" \xE9\x20AC"),
    platform::MakeStringValue(L"exp", L"%SystemRoot%\\x", RegType::kExpandSz),
    RegValue{L"multi", RegType::kMultiSz, ToUtf16LeBytes(std::wstring(L"a\0b\0\0", 5))},
    platform::MakeDwordValue(L"dword", 0xFFFFFFFEu),
    RegValue{L"qword", RegType::kQword, {1, 2, 3, 4, 5, 6, 7, 8}},
    RegValue{L"binary", RegType::kBinary, Bytes(120, 0x5A)},
    RegValue{L"empty binary", RegType::kBinary, {}},
    RegValue{L"none", RegType::kNone, {1, 2, 3}},
};

TEST(RegeditRoundTripTest, EditorImportsWhatTheWriterWrote) {
  testing::ScratchSystem scratch;
  const std::wstring key = FullKeyName(scratch.RegRoot(), scratch.RegPath() + L"\\Imported");
  RegFileWriter writer;
  writer.AddKey(key);
  for (const auto& value : kValues) writer.AddValue(value);
  writer.AddKey(key + L"\\Empty");
  const std::wstring file = scratch.Folder() + L"in.reg";
  ASSERT_EQ(platform::Files().WriteFileAtomic(file, writer.FileBytes()), platform::Result::kOk);
  ASSERT_TRUE(RunRegedit(L"/s \"" + file + L"\""));

  for (const auto& wanted : kValues) {
    RegValue got;
    ASSERT_EQ(platform::Reg().QueryValue(scratch.RegRoot(), scratch.RegPath() + L"\\Imported",
                                         wanted.name, &got),
              platform::Result::kOk)
        << ToUtf8(wanted.name);
    EXPECT_EQ(got.type, wanted.type) << ToUtf8(wanted.name);
    EXPECT_EQ(got.data, wanted.data) << ToUtf8(wanted.name);
  }
  EXPECT_EQ(platform::Reg().KeyExists(scratch.RegRoot(), scratch.RegPath() + L"\\Imported\\Empty"),
            platform::Result::kOk);
}

TEST(RegeditRoundTripTest, ReaderReadsWhatTheEditorExported) {
  testing::ScratchSystem scratch;
  const std::wstring path = scratch.RegPath() + L"\\Exported";
  for (const auto& value : kValues) {
    ASSERT_EQ(platform::Reg().SetValue(scratch.RegRoot(), path, value), platform::Result::kOk);
  }
  const std::wstring file = scratch.Folder() + L"out.reg";
  ASSERT_TRUE(RunRegedit(L"/e \"" + file + L"\" \"" + FullKeyName(scratch.RegRoot(), path) + L"\""));
  Bytes content;
  ASSERT_EQ(platform::Files().ReadFile(file, &content), platform::Result::kOk);
  std::vector<RegOp> ops;
  ParseError error;
  ASSERT_TRUE(ParseRegFile(content, &ops, &error)) << error.line << ": " << ToUtf8(error.message);
  for (const auto& wanted : kValues) {
    bool found = false;
    for (const auto& op : ops) {
      if (op.kind != RegOp::Kind::kSetValue || !SameText(op.value.name, wanted.name)) continue;
      found = true;
      EXPECT_EQ(op.value, wanted) << ToUtf8(wanted.name);
    }
    EXPECT_TRUE(found) << ToUtf8(wanted.name);
  }
}

}  // namespace
}  // namespace brimlow::regfile
