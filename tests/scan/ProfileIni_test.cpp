// One table of INI cases, answered alike by the portable reader and, where
// the platform has them, by its own profile functions (under Wine: Wine's
// own implementation, a reference the portable reader is checked against).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/Text.h"
#include "platform/Platform.h"
#include "scan/ProfileIni.h"
#include "support/ScratchSystem.h"

namespace brimlow::scan {
namespace {

const std::string kFixture =
    "; leading comment\r\n"
    "orphan=before any section\r\n"
    "[Alpha]\r\n"
    "Plain=value\r\n"
    "  Spaced  =   padded value   \r\n"
    "Double=\"quoted value\"\r\n"
    "Single='single quoted'\r\n"
    "Mixed=\"mixed'\r\n"
    "Lone=\"\r\n"
    "Inner=a \"b\" c\r\n"
    "Twice=\"\"x\"\"\r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    "; comment in section\r\n"
    "Dup=first\r\n"
    "dup=second\r\n"
    "Eq=a=b\r\n"
    "\tTabbed\t=\tt\t\n"
    "[beta]\n"
    "Key=lf line\r"
    "Other=cr line\r\n"
    "[Gamma]\r\n"
    "Long=" + std::string(3000, 'x') + "\r\n"
    "LongQuoted=\"" + std::string(2100, 'y') + "\"\r\n";

struct ReadCase {
  const wchar_t* section;
  const wchar_t* key;
  const wchar_t* fallback;
  std::wstring expected;
};

const ReadCase kReads[] = {
    {L"Alpha", L"Plain", L"-", L"value"},
    {L"ALPHA", L"PLAIN", L"-", L"value"},  // names ignore case
    {L"Alpha", L"Spaced", L"-", L"padded value"},
    {L"Alpha", L"Double", L"-", L"quoted value"},
    {L"Alpha", L"Single", L"-", L"single quoted"},
    {L"Alpha", L"Mixed", L"-", L"\"mixed'"},  // quotes must pair
    {L"Alpha", L"Lone", L"-", L"\""},
    {L"Alpha", L"Inner", L"-", L"a \"b\" c"},
    {L"Alpha", L"Twice", L"-", L"\"x\""},  // one pair only
    {L"Alpha", L"Empty", L"-", L""},       // present but empty: no fallback
    {L"Alpha", L"NoEquals", L"-", L"-"},
    {L"Alpha", L"Dup", L"-", L"first"},
    {L"Alpha", L"Eq", L"-", L"a=b"},
    {L"Alpha", L"Tabbed", L"-", L"t"},
    {L"Alpha", L"Missing", L"fallback", L"fallback"},
    {L"Alpha", L"Missing", L"\"quoted fallback\"", L"quoted fallback"},
    {L"Alpha", L"orphan", L"-", L"-"},  // lines before a section belong to none
    {L"Nowhere", L"Plain", L"-", L"-"},
    {L"Beta", L"Key", L"-", L"lf line"},
    {L"Beta", L"Other", L"-", L"cr line"},
    {L"Gamma", L"Long", L"-", std::wstring(2047, L'x')},
    {L"Gamma", L"LongQuoted", L"-", std::wstring(2047, L'y')},
};

class ProfileIniTest : public ::testing::Test {
 protected:
  std::wstring WriteFixture(const std::wstring& name, const std::string& text) {
    const std::wstring path = scratch_.Folder() + name;
    EXPECT_TRUE(platform::Ok(
        platform::Files().WriteFileAtomic(path, Bytes(text.begin(), text.end()))));
    return path;
  }

  // The portable reader, and the platform's own where there is one.
  static std::vector<std::pair<std::string, std::unique_ptr<ProfileIni>>> OpenAll(
      const std::wstring& path) {
    std::vector<std::pair<std::string, std::unique_ptr<ProfileIni>>> readers;
    readers.emplace_back("portable", OpenPortableProfileIni(path));
    if (auto native = platform::OpenNativeProfile(path)) {
      readers.emplace_back("platform", std::move(native));
    }
    return readers;
  }

  testing::ScratchSystem scratch_;
};

TEST_F(ProfileIniTest, ReadersAgreeOnEveryCase) {
  const std::wstring path = WriteFixture(L"cases.ini", kFixture);
  for (auto& [label, reader] : OpenAll(path)) {
    for (const ReadCase& c : kReads) {
      EXPECT_EQ(ToUtf8(reader->ReadString(c.section, c.key, c.fallback)), ToUtf8(c.expected))
          << label << " [" << ToUtf8(c.section) << "] " << ToUtf8(c.key);
    }
  }
}

TEST_F(ProfileIniTest, SectionKeysInFileOrderWithoutCommentsOrLinesWithoutEquals) {
  const std::wstring path = WriteFixture(L"cases.ini", kFixture);
  const std::vector<std::wstring> expected = {L"Plain", L"Spaced", L"Double",   L"Single",
                                              L"Mixed", L"Lone",   L"Inner",    L"Twice",
                                              L"Empty", L"Dup",    L"dup",
                                              L"Eq",    L"Tabbed"};
  for (auto& [label, reader] : OpenAll(path)) {
    EXPECT_EQ(reader->ReadSection(L"alpha"), expected) << label;
    EXPECT_TRUE(reader->ReadSection(L"Nowhere").empty()) << label;
  }
}

TEST_F(ProfileIniTest, MissingFileReadsAsEmpty) {
  for (auto& [label, reader] : OpenAll(scratch_.Folder() + L"absent.ini")) {
    EXPECT_EQ(reader->ReadString(L"A", L"B", L"def"), L"def") << label;
    EXPECT_TRUE(reader->ReadSection(L"A").empty()) << label;
  }
}

TEST_F(ProfileIniTest, WrittenFileReadsBackAlikeThroughBothReaders) {
  const std::wstring path = scratch_.Folder() + L"written.ini";
  {
    auto writer = OpenProfileIni(path);
    ASSERT_TRUE(writer->WriteString(L"GLOBAL", L"MAGICWORD", L"FIG"));
    ASSERT_TRUE(writer->WriteString(L"TOPIC_0", L"NAME", L"\"Temp files\""));
    ASSERT_TRUE(writer->WriteString(L"TOPIC_0", L"Rule", L"rsJunkFile,.tmp"));
    ASSERT_TRUE(writer->WriteString(L"topic_0", L"name", L"\"Renamed\""));  // same key
    ASSERT_TRUE(writer->Flush());
  }
  for (auto& [label, reader] : OpenAll(path)) {
    EXPECT_EQ(reader->ReadString(L"global", L"magicword", L""), L"FIG") << label;
    EXPECT_EQ(reader->ReadString(L"TOPIC_0", L"NAME", L""), L"Renamed") << label;
    EXPECT_EQ(reader->ReadSection(L"TOPIC_0"), (std::vector<std::wstring>{L"NAME", L"Rule"}))
        << label;
  }
}

TEST_F(ProfileIniTest, Utf16FileIsRead) {
  const std::wstring text = L"[S]\r\nK=\u00e9t\u00e9 \u0416\r\n";
  Bytes bytes = {0xFF, 0xFE};
  const Bytes body = ToUtf16LeBytes(text);
  bytes.insert(bytes.end(), body.begin(), body.end());
  const std::wstring path = scratch_.Folder() + L"wide.ini";
  ASSERT_TRUE(platform::Ok(platform::Files().WriteFileAtomic(path, bytes)));
  for (auto& [label, reader] : OpenAll(path)) {
    EXPECT_EQ(reader->ReadString(L"S", L"K", L""), L"\u00e9t\u00e9 \u0416") << label;
  }
}

TEST_F(ProfileIniTest, KeyLineNamesTheLineOfTheKey) {
  const std::wstring path = WriteFixture(L"cases.ini", kFixture);
  EXPECT_EQ(ProfileKeyLine(path, L"alpha", L"double"), 6);
  EXPECT_EQ(ProfileKeyLine(path, L"Beta", L"Other"), 21);
  EXPECT_EQ(ProfileKeyLine(path, L"Beta", L"Missing"), 0);
}

}  // namespace
}  // namespace brimlow::scan
