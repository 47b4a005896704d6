#include "platform/standin/StandinEnvironment.h"

#include <gtest/gtest.h>

#include "platform/standin/StandinOsVersion.h"

#include "support/HostTempDir.h"

namespace brimlow::platform::standin {
namespace {

using testing::HostTempDir;

EnvVariables Parse(const std::string& content) {
  EnvVariables variables;
  std::wstring error;
  EXPECT_TRUE(ParseEnvironmentFile(content, L"environment", &variables, &error)) << ToUtf8(error);
  return variables;
}

TEST(EnvironmentFileTest, ReadsNamesValuesAndComments) {
  const EnvVariables variables = Parse(
      "\xEF\xBB\xBF# a comment\r\n"
      "\n"
      "  USERNAME = Zoë \r\n"
      "EMPTY=\n"
      "WITH_EQUALS=a=b\n"
      "BRIMLOW_WINDOWS_VERSION=5.1.2600");
  EXPECT_EQ(variables, (EnvVariables{{L"USERNAME", L"Zoë"},
                                     {L"EMPTY", L""},
                                     {L"WITH_EQUALS", L"a=b"},
                                     {L"BRIMLOW_WINDOWS_VERSION", L"5.1.2600"}}));
}

TEST(EnvironmentFileTest, NamesTheLineOfAMalformedEntry) {
  const struct {
    const char* content;
    const wchar_t* error;
  } cases[] = {
      {"A=1\nno equals sign\n", L"environment:2: expected NAME=VALUE"},
      {"# c\n\n =value\n", L"environment:3: the variable has no name"},
      {"A%B=1\n", L"environment:1: a variable name cannot contain \"%\""},
      {"brimlow_windows_version=six\n", L"environment:1: BRIMLOW_WINDOWS_VERSION must look like 6.1.7601"},
      {"BRIMLOW_WINDOWS_VERSION=6.1.2.3\n", L"environment:1: BRIMLOW_WINDOWS_VERSION must look like 6.1.7601"},
      {"BRIMLOW_WINDOWS_VERSION=6..1\n", L"environment:1: BRIMLOW_WINDOWS_VERSION must look like 6.1.7601"},
  };
  for (const auto& c : cases) {
    EnvVariables variables{{L"KEPT", L"1"}};
    std::wstring error;
    EXPECT_FALSE(ParseEnvironmentFile(c.content, L"environment", &variables, &error)) << c.content;
    EXPECT_EQ(error, c.error) << c.content;
  }
}

TEST(StandinEnvironmentTest, FillsWindowsLikeDefaultsFromTheFileVariables) {
  const DriveMap drives;
  StandinEnvironment env(Parse("username=ann\nSystemDrive=D:\n"), drives);
  const struct {
    const wchar_t* name;
    const wchar_t* value;
  } cases[] = {
      {L"USERNAME", L"ann"},
      {L"SystemRoot", L"D:\\Windows"},
      {L"WINDIR", L"D:\\Windows"},
      {L"USERPROFILE", L"D:\\users\\ann"},
      {L"APPDATA", L"D:\\users\\ann\\AppData\\Roaming"},
      {L"LOCALAPPDATA", L"D:\\users\\ann\\AppData\\Local"},
      {L"ALLUSERSPROFILE", L"D:\\ProgramData"},
      {L"ProgramFiles", L"D:\\Program Files"},
      {L"CommonProgramFiles", L"D:\\Program Files\\Common Files"},
      {L"TEMP", L"D:\\users\\ann\\Temp"},
      {L"tmp", L"D:\\users\\ann\\Temp"},
      {L"ComSpec", L"D:\\Windows\\system32\\cmd.exe"},
      {L"Path", L"D:\\Windows\\system32;D:\\Windows"},
      {L"BRIMLOW_WINDOWS_VERSION", L"6.1.7601"},
      {L"NOT_SET", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(env.Variable(c.name), c.value) << ToUtf8(c.name);
  EXPECT_EQ(env.WindowsFolder(), L"D:\\Windows");
  EXPECT_EQ(env.TempFolder(), L"D:\\users\\ann\\Temp\\");
  EXPECT_EQ(env.WindowsMajorVersion(), 6);

  StandinEnvironment xp(Parse("BRIMLOW_WINDOWS_VERSION=5.1.2600\nTEMP=C:\\t\\\n"), drives);
  EXPECT_EQ(xp.WindowsMajorVersion(), 5);
  EXPECT_EQ(xp.TempFolder(), L"C:\\t\\");
  EXPECT_EQ(xp.Variable(L"TMP"), L"C:\\t\\");
}

// The environment and the version service answer alike, also where the image
// sets no version and both fall back to the same default.
TEST(StandinEnvironmentTest, MajorVersionAgreesWithTheVersionService) {
  const DriveMap drives;
  const struct {
    const char* file;
    int major;
  } cases[] = {
      {"", 6},
      {"BRIMLOW_WINDOWS_VERSION=10.0.19045\n", 10},
  };
  for (const auto& c : cases) {
    StandinEnvironment env(Parse(c.file), drives);
    ReportedVersion version;
    ASSERT_TRUE(StandinOsVersion(env).Query(&version)) << c.file;
    EXPECT_EQ(env.WindowsMajorVersion(), c.major) << c.file;
    EXPECT_EQ(static_cast<int>(version.major), c.major) << c.file;
  }
}

TEST(StandinEnvironmentTest, ExpandsKnownReferencesAndKeepsUnknownOnes) {
  const DriveMap drives;
  StandinEnvironment env(Parse("USERNAME=bo\nA=x\n"), drives);
  const struct {
    const wchar_t* text;
    const wchar_t* expanded;
  } cases[] = {
      {L"%a%", L"x"},
      {L"%SystemRoot%\\Fonts", L"C:\\Windows\\Fonts"},
      {L"[%A%%A%]", L"[xx]"},
      {L"%NOPE%\\y", L"%NOPE%\\y"},
      {L"100%%A%", L"100%x"},
      {L"%NOPE%A%", L"%NOPE%A%"},
      {L"50% done", L"50% done"},
      {L"%%", L"%%"},
      {L"%A", L"%A"},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(env.Expand(c.text), c.expanded) << ToUtf8(c.text);
}

TEST(StandinEnvironmentTest, AnswersPathsThroughTheDriveMap) {
  const DriveMap drives;
  StandinEnvironment env({}, drives);
  const std::wstring app = env.AppFileName();
  ASSERT_GE(app.size(), 3u);
  EXPECT_EQ(app.substr(0, 3), L"Z:\\");
  EXPECT_EQ(env.LongPath(app), app);
  EXPECT_EQ(env.LongPath(L"Z:\\no\\such\\file"), L"");
  EXPECT_EQ(env.LongPath(L"C:\\Windows"), L"");  // no image: no drive C:
}

}  // namespace
}  // namespace brimlow::platform::standin
