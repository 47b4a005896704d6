#include "framework/OxMultiLangData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/Text.h"
#include "framework/IniFile.h"
#include "framework/OxMultiLangLan.h"
#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow::testing {
namespace {

using Lines = std::vector<std::wstring>;

TEST(OxMultiLangLanTest, LooksUpWithEscapesAndEmptyValues) {
  TOxMultiLangLan lan;
  lan.LoadFromString(
      L"[LibRes]\r\n"
      L"Two=first<BR>second\r\n"
      L"Lower=a<br>b<Sp>c\r\n"
      L"Indented=<SP><SP>word\r\n"
      L"Empty=\r\n"
      L"[TfrmMain]\r\n"
      L"btnOk.Caption = OK \r\n");
  const struct {
    const wchar_t* form;
    const wchar_t* comp;
    const wchar_t* prop;
    bool found;
    const wchar_t* value;
  } cases[] = {
      {L"LibRes", L"", L"Two", true, L"first\r\nsecond"},
      {L"LibRes", L"", L"Lower", true, L"a\r\nb c"},
      {L"LibRes", L"", L"Indented", true, L"  word"},
      {L"LibRes", L"", L"Empty", true, L""},
      {L"libres", L"", L"two", true, L"first\r\nsecond"},
      {L"TfrmMain", L"btnOk", L"Caption", true, L"OK"},
      {L"TfrmMain", L"btnOk", L"Hint", false, L"unchanged"},
      {L"Missing", L"", L"Two", false, L"unchanged"},
  };
  for (const auto& c : cases) {
    std::wstring value = L"unchanged";
    EXPECT_EQ(lan.GetProp(c.form, c.comp, c.prop, &value), c.found) << ToUtf8(c.prop);
    EXPECT_EQ(value, c.value) << ToUtf8(c.prop);
  }
}

TEST(OxMultiLangLanTest, StoringEscapesEveryKindOfLineBreak) {
  TOxMultiLangLan lan;
  lan.SetProp(L"TfrmHome", L"lblInfo", L"Caption", L"a\r\nb\rc\nd");
  EXPECT_EQ(lan.ToString(), L"[TfrmHome]\r\nlblInfo.Caption=a<BR>b<BR>c<BR>d\r\n");
  std::wstring value;
  ASSERT_TRUE(lan.GetProp(L"TfrmHome", L"lblInfo", L"Caption", &value));
  EXPECT_EQ(value, L"a\r\nb\r\nc\r\nd");
}

TEST(OxMultiLangLanTest, SortingPutsResourceSectionsFirst) {
  TOxMultiLangLan lan;
  lan.LoadFromString(
      L"[TfrmMain]\r\nb=2\r\nA=1\r\n"
      L"[AppRes]\r\nZ=1\r\ny=2\r\n"
      L"[BasicRes]\r\n"
      L"[Info]\r\nLanguage=English\r\nAuthor=me\r\n"
      L"[TfrmHome]\r\nx=1\r\n");
  lan.SortData();
  EXPECT_EQ(lan.ToString(),
            L"[Info]\r\nLanguage=English\r\nAuthor=me\r\n\r\n"
            L"[AppRes]\r\ny=2\r\nZ=1\r\n\r\n"
            L"[TfrmHome]\r\nx=1\r\n\r\n"
            L"[TfrmMain]\r\nA=1\r\nb=2\r\n");
}

TEST(OxMultiLangLanTest, ClearAllFormKeepsTheResourceSections) {
  TOxMultiLangLan lan;
  lan.LoadFromString(
      L"[Info]\r\nLanguage=X\r\n[TfrmMain]\r\na=1\r\n[LibRes]\r\nb=2\r\n"
      L"[SkinRes]\r\nc=3\r\n[ResString]\r\nd=4\r\n[BasicRes]\r\ne=5\r\n[AppRes]\r\nf=6\r\n");
  lan.ClearAllForm();
  std::vector<std::wstring> names;
  for (const auto& s : lan.Ini().Sections()) names.push_back(s.name);
  EXPECT_EQ(names, (Lines{L"Info", L"LibRes", L"SkinRes", L"BasicRes", L"AppRes"}));
}

class OxMultiLangDataTest : public ::testing::Test {
 protected:
  void WriteFile(const std::wstring& name, const std::string& bytes) {
    ASSERT_TRUE(platform::Ok(platform::Files().WriteFileAtomic(
        system_.Folder() + name, Bytes(bytes.begin(), bytes.end()))));
  }

  ScratchSystem system_;
  TOxMultiLangData data_;
};

TEST_F(OxMultiLangDataTest, FallsBackToTheDefaultOnlyForMissingKeys) {
  data_.SetDefaultData(L"[TfrmMain]\r\nbtnScan.Caption=Scan\r\nbtnStop.Caption=Stop\r\n");
  data_.SetCurrentData(L"[TfrmMain]\r\nbtnScan.Caption=\r\n");
  std::wstring value = L"design";
  EXPECT_TRUE(data_.GetProp(L"TfrmMain", L"btnScan", L"Caption", &value));
  EXPECT_EQ(value, L"");
  EXPECT_TRUE(data_.GetProp(L"TfrmMain", L"btnStop", L"Caption", &value));
  EXPECT_EQ(value, L"Stop");
  value = L"design";
  EXPECT_FALSE(data_.GetProp(L"TfrmMain", L"btnCure", L"Caption", &value));
  EXPECT_EQ(value, L"design");

  data_.ClearCurrentAll();
  EXPECT_TRUE(data_.GetProp(L"TfrmMain", L"btnScan", L"Caption", &value));
  EXPECT_EQ(value, L"Scan");
}

TEST_F(OxMultiLangDataTest, ReplacesAppNameExceptInTheNameItself) {
  data_.LoadBuiltinEnglish();
  std::wstring value;
  ASSERT_TRUE(data_.GetProp(L"LibRes", L"", L"TfrmOxAboutForm.Caption", &value));
  EXPECT_EQ(value, L"About Brimlow");

  WriteFile(L"Sample.lan",
            "[AppRes]\r\nAppName=Sample App {appname}\r\n"
            "[TfrmMain]\r\nfrmMain.Caption={AppName} - {APPNAME}\r\n");
  ASSERT_TRUE(data_.LoadCurrentFromFile(system_.Folder() + L"Sample.lan"));
  ASSERT_TRUE(data_.GetProp(L"TfrmMain", L"frmMain", L"Caption", &value));
  EXPECT_EQ(value, L"Sample App {appname} - Sample App {appname}");
  ASSERT_TRUE(data_.GetProp(L"AppRes", L"", L"AppName", &value));
  EXPECT_EQ(value, L"Sample App {appname}");
  // Texts only the default language has take the new name too.
  ASSERT_TRUE(data_.GetProp(L"LibRes", L"", L"TfrmOxAboutForm.Caption", &value));
  EXPECT_EQ(value, L"About Sample App {appname}");
}

TEST_F(OxMultiLangDataTest, MergesSectionsCurrentFirstWithoutReplacing) {
  data_.SetDefaultData(L"[SkinRes]\r\nOK=OK\r\nCancel=Cancel\r\nHelp=Help<BR>me\r\n");
  data_.SetCurrentData(L"[SkinRes]\r\nok=Gut\r\nYes=Ja\r\n");
  Lines list{L"Help=kept"};
  data_.GetSectionStrings(L"SkinRes", &list);
  EXPECT_EQ(list, (Lines{L"Help=kept", L"ok=Gut", L"Yes=Ja", L"Cancel=Cancel"}));
}

TEST_F(OxMultiLangDataTest, SavesSortedAndReadsBackInTheRightEncoding) {
  data_.SetCurrentData(L"[TfrmMain]\r\nb=2\r\n[Info]\r\nLanguage=Deutsch\r\n");
  data_.SetProp(L"AppRes", L"", L"State.Ready", L"Bereit \u00FC");
  data_.SetProp(L"AppRes", L"", L"Greek", L"\u03B1\u03B2");
  const std::wstring file = system_.Folder() + L"out.lan";
  ASSERT_TRUE(data_.SaveCurrentToFile(file));

  Bytes bytes;
  ASSERT_TRUE(platform::Ok(platform::Files().ReadFile(file, &bytes)));
  ASSERT_GE(bytes.size(), 3u);
  EXPECT_EQ(bytes[0], 0xEF);  // Greek needs more than the 8-bit code page

  TOxMultiLangData again;
  ASSERT_TRUE(again.LoadCurrentFromFile(file));
  EXPECT_EQ(again.CurrentLanguage(), L"Deutsch");
  std::wstring value;
  ASSERT_TRUE(again.GetProp(L"AppRes", L"", L"Greek", &value));
  EXPECT_EQ(value, L"\u03B1\u03B2");
  EXPECT_EQ(again.CurrentData(),
            L"[Info]\r\nLanguage=Deutsch\r\n\r\n[AppRes]\r\nGreek=\u03B1\u03B2\r\n"
            L"State.Ready=Bereit \u00FC\r\n\r\n[TfrmMain]\r\nb=2\r\n");

  EXPECT_FALSE(again.LoadCurrentFromFile(system_.Folder() + L"missing.lan"));
  EXPECT_EQ(again.CurrentLanguage(), L"Deutsch");
}

// The shipped language files, read from the source tree.
std::wstring ReadLanguageFile(const std::string& name) {
  const char* dir = std::getenv("BRIMLOW_TEST_DATA");
  if (!dir) return L"";
  std::ifstream in(std::string(dir) + "/../../lang/" + name, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DecodeText(Bytes(bytes.begin(), bytes.end()));
}

TEST(BuiltinEnglishTest, IsTheShippedEnglishFile) {
  const std::wstring shipped = ReadLanguageFile("English.lan");
  if (shipped.empty()) GTEST_SKIP() << "BRIMLOW_TEST_DATA not set";
  EXPECT_EQ(BuiltinEnglishText(), shipped);

  TOxMultiLangData data;
  data.LoadBuiltinEnglish();
  std::wstring value;
  ASSERT_TRUE(data.GetProp(L"LibRes", L"", L"Update.NetError", &value));
  EXPECT_NE(value.find(L"internet. \r\nBrimlow Update Server"), std::wstring::npos);
  ASSERT_TRUE(data.GetProp(L"AppRes", L"", L"Reason.frEmptyKey", &value));
  EXPECT_EQ(value, L"Empty Key");
  ASSERT_TRUE(data.GetProp(L"SkinRes", L"", L"MSG_CAP_SHOWFLAG", &value));
  EXPECT_EQ(value, L"Do not display this message again");
}

// A translation must carry every text the English file has, or users see
// English in the middle of it.
TEST(BuiltinEnglishTest, TranslationsCoverEveryEnglishKey) {
  TOxMultiLangLan english;
  english.LoadFromString(BuiltinEnglishText());
  if (!std::getenv("BRIMLOW_TEST_DATA")) GTEST_SKIP() << "BRIMLOW_TEST_DATA not set";
  for (const char* name : {"German.lan"}) {
    const std::wstring text = ReadLanguageFile(name);
    ASSERT_FALSE(text.empty()) << name << " is missing";
    TOxMultiLangLan translation;
    translation.LoadFromString(text);
    EXPECT_FALSE(translation.Ini().ReadString(L"Info", L"Language", L"").empty()) << name;
    for (const auto& section : english.Ini().Sections()) {
      for (const auto& entry : section.entries) {
        EXPECT_TRUE(translation.Ini().ValueExists(section.name, entry.name))
            << name << ": [" << ToUtf8(section.name) << "] " << ToUtf8(entry.name);
      }
    }
  }
}

}  // namespace
}  // namespace brimlow::testing
