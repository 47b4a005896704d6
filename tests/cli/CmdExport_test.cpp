// brimlow-cli export and regedit: a key exported, merged back under another
// name and exported again gives the same file; the keys, roots and files
// each command refuses.
#include <gtest/gtest.h>

#include "cli/CliFixture.h"

namespace brimlow::cli {
namespace {

using platform::RegValue;
namespace RegType = platform::RegType;

RegValue Raw(std::wstring name, std::uint32_t type, Bytes data) { return RegValue{std::move(name), type, std::move(data)}; }

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
  for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

void WriteUtf16(const std::wstring& path, const std::wstring& text) {
  Bytes bytes = {0xFF, 0xFE};
  const Bytes body = ToUtf16LeBytes(text);
  bytes.insert(bytes.end(), body.begin(), body.end());
  ASSERT_TRUE(platform::Ok(platform::Files().WriteFileAtomic(path, bytes)));
}

void WriteAnsi(const std::wstring& path, const std::string& text) {
  ASSERT_TRUE(platform::Ok(platform::Files().WriteFileAtomic(path, Bytes(text.begin(), text.end()))));
}

class CliRegFileTest : public ::testing::Test {
 protected:
  CliRegFileTest() : key_(L"HKEY_CURRENT_USER\\" + scratch_.RegPath()) {
    auto& reg = platform::Reg();
    const std::wstring src = scratch_.RegPath() + L"\\src";
    reg.SetValue(scratch_.RegRoot(), src, platform::MakeStringValue(L"", L"default"));
    reg.SetValue(scratch_.RegRoot(), src, platform::MakeStringValue(L"quote\"back\\slash", L"C:\\a \"b\""));
    reg.SetValue(scratch_.RegRoot(), src, platform::MakeStringValue(L"expand", L"%TEMP%\\x", RegType::kExpandSz));
    reg.SetValue(scratch_.RegRoot(), src, platform::MakeDwordValue(L"dword", 0xDEADBEEF));
    reg.SetValue(scratch_.RegRoot(), src, Raw(L"qword", RegType::kQword, {1, 2, 3, 4, 5, 6, 7, 8}));
    reg.SetValue(scratch_.RegRoot(), src, Raw(L"binary", RegType::kBinary, Bytes(40, 0xAB)));
    reg.SetValue(scratch_.RegRoot(), src,
                 Raw(L"multi", RegType::kMultiSz, ToUtf16LeBytes(std::wstring(L"one\0two\0\0", 9))));
    reg.SetValue(scratch_.RegRoot(), src + L"\\sub", platform::MakeStringValue(L"umlaut", L"\u00e4\u20ac"));
    reg.CreateKey(scratch_.RegRoot(), src + L"\\empty");
  }

  std::string Key(const std::wstring& below) const { return ToUtf8(key_ + L"\\" + below); }
  std::string File(const std::wstring& name) const { return ToUtf8(scratch_.Folder() + name); }

  testing::ScratchSystem scratch_;
  const std::wstring key_;  // the scratch key with its root's name
};

TEST_F(CliRegFileTest, ExportedKeyMergedUnderAnotherNameExportsTheSame) {
  const CliResult exported = RunCli(scratch_, {"export", Key(L"src"), File(L"src.reg")});
  ASSERT_EQ(exported.code, 0) << exported.err;
  EXPECT_TRUE(exported.out.empty() && exported.err.empty()) << exported.out << exported.err;
  const std::wstring text = ReadText(scratch_.Folder() + L"src.reg");
  ASSERT_EQ(text.rfind(L"Windows Registry Editor Version 5.00\r\n", 0), 0u) << ToUtf8(text);
  EXPECT_NE(text.find(L"[" + key_ + L"\\src\\empty]"), std::wstring::npos) << ToUtf8(text);

  const std::wstring copy = ReplaceAll(text, key_ + L"\\src", key_ + L"\\copy");
  WriteUtf16(scratch_.Folder() + L"copy.reg", copy);
  for (const auto& args : {std::vector<std::string>{"regedit", "/s", File(L"copy.reg")},
                           std::vector<std::string>{"regedit", File(L"copy.reg")}}) {
    const CliResult merged = RunCli(scratch_, args);
    ASSERT_EQ(merged.code, 0) << merged.err;
    EXPECT_TRUE(merged.out.empty() && merged.err.empty()) << merged.out << merged.err;
  }

  // The short root name names the same key.
  const std::string short_key = "HKCU\\" + ToUtf8(scratch_.RegPath()) + "\\copy";
  const CliResult again = RunCli(scratch_, {"export", short_key, File(L"again.reg")});
  ASSERT_EQ(again.code, 0) << again.err;
  EXPECT_EQ(ToUtf8(ReadText(scratch_.Folder() + L"again.reg")), ToUtf8(copy));
}

TEST_F(CliRegFileTest, MergeOfAnAnsiFileWritesItsValues) {
  WriteAnsi(scratch_.Folder() + L"four.reg", "REGEDIT4\r\n\r\n[" + Key(L"four") + "]\r\n\"name\"=\"v\xe4lue\"\r\n"
                                              "\"n\"=dword:0000002a\r\n");
  const CliResult r = RunCli(scratch_, {"regedit", "/S", File(L"four.reg")});
  ASSERT_EQ(r.code, 0) << r.err;
  AfterRun after(scratch_);
  RegValue value;
  ASSERT_EQ(platform::Reg().QueryValue(scratch_.RegRoot(), scratch_.RegPath() + L"\\four", L"name", &value),
            platform::Result::kOk);
  EXPECT_EQ(platform::RegValueText(value), L"v\u00e4lue");
  ASSERT_EQ(platform::Reg().QueryValue(scratch_.RegRoot(), scratch_.RegPath() + L"\\four", L"n", &value),
            platform::Result::kOk);
  EXPECT_EQ(platform::RegValueDword(value), 42u);
}

TEST_F(CliRegFileTest, BadFilesAreNamedWithTheirLineAndMergeNothing) {
  const std::string good = "[" + Key(L"merged") + "]\r\n\"a\"=\"1\"\r\n";
  const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
  WriteAnsi(scratch_.Folder() + L"value.reg", header + good + "\"b\"=dword:nothex\r\n");
  WriteAnsi(scratch_.Folder() + L"noheader.reg", good);
  WriteAnsi(scratch_.Folder() + L"root.reg", header + good + "[HKEY_NOWHERE\\X]\r\n\"c\"=\"3\"\r\n");
  const struct {
    std::wstring file;
    std::string message;  // after "brimlow-cli: FILE"
  } cases[] = {
      {L"value.reg", ":5: "},
      {L"noheader.reg", ":1: "},
      {L"root.reg", ":5: "},
      {L"missing.reg", ": no such file"},
  };
  for (const auto& c : cases) {
    const CliResult r = RunCli(scratch_, {"regedit", "/s", File(c.file)});
    EXPECT_EQ(r.code, 1) << ToUtf8(c.file);
    EXPECT_NE(r.err.find("brimlow-cli: " + File(c.file) + c.message), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
  AfterRun after(scratch_);
  EXPECT_FALSE(after.HasValue(scratch_.RegRoot(), scratch_.RegPath() + L"\\merged", L"a"));
}

TEST_F(CliRegFileTest, RefusedArgumentsFailWithAMessage) {
  WriteAnsi(scratch_.Folder() + L"blocker", "a file where a folder would be");
  const struct {
    std::vector<std::string> args;
    std::string message;  // part of standard error
  } cases[] = {
      {{"export", "HKEY_NOWHERE\\Software", File(L"x.reg")}, "HKEY_NOWHERE\\Software: unknown root key"},
      {{"export", "Software\\X", File(L"x.reg")}, "Software\\X: unknown root key"},
      {{"export", Key(L"none"), File(L"x.reg")}, Key(L"none") + ": no such key"},
      {{"export", Key(L"src"), File(L"blocker\\x.reg")}, File(L"blocker\\x.reg") + ": cannot be written"},
      {{"export", Key(L"src")}, "FILE"},
      {{"regedit", "/x", File(L"x.reg")}, "expected [/s] FILE"},
      {{"regedit", "/s", "a.reg", "b.reg"}, "args"},
      {{"regedit"}, "args"},
  };
  for (const auto& c : cases) {
    const CliResult r = RunCli(scratch_, c.args);
    EXPECT_NE(r.code, 0) << ::testing::PrintToString(c.args);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << ::testing::PrintToString(c.args) << r.err;
  }
  AfterRun after(scratch_);
  EXPECT_FALSE(after.HasFile(scratch_.Folder() + L"x.reg"));
}

}  // namespace
}  // namespace brimlow::cli
