#include "framework/OxEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/AboutInfo.h"
#include "framework/OxMultiLang.h"
#include "framework/SkinHolder.h"
#include "framework/TranslatableWindow.h"
#include "platform/OsVersion.h"
#include "framework/EngineFixture.h"

namespace brimlow::testing {
namespace {

using Names = std::vector<std::wstring>;

class FakeSkinHolder : public SkinHolder {
 public:
  bool LoadSkinFile(const std::wstring& path) override {
    loaded.push_back(path);
    built_in = false;
    return true;
  }
  void UseBuiltInSkin() override { built_in = true; }
  bool SkinnableForm() const override { return form; }
  void SetSkinnableForm(bool on) override { form = on; }
  void SetGlowFrames(bool on) override { glow = on; }
  std::vector<std::wstring>* ResourceStrings() override { return &resources; }

  std::vector<std::wstring> loaded;
  std::vector<std::wstring> resources;
  bool built_in = true;
  bool form = true;
  bool glow = true;
};

class OxEngineTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    engine_->OnLanguageChanged = [this] { ++language_events_; };
    engine_->OnSkinChanged = [this] { ++skin_events_; };
  }
  int language_events_ = 0;
  int skin_events_ = 0;
};

TEST_F(OxEngineTest, RegistersItselfAndSuppliesTheSettingsLayers) {
  EXPECT_EQ(GetOxEngine(), engine_.get());
  EXPECT_EQ(Settings().GetSettingString(L"Path.Languages"), L"lang");
  EXPECT_EQ(Settings().GetSettingString(L"Path.Skins"), L"skins");

  engine_->SetSettingOverwrite({L"Skin=Forced"});
  Settings().SetSettingstring(L"Skin", L"Blue");
  EXPECT_EQ(Settings().GetSettingString(L"skin"), L"Forced");

  {
    TOxEngine second;  // a second engine is not the process's engine
    EXPECT_EQ(GetOxEngine(), engine_.get());
  }
  EXPECT_EQ(GetOxEngine(), engine_.get());
  engine_.reset();
  EXPECT_EQ(GetOxEngine(), nullptr);
  EXPECT_EQ(Settings().GetSettingString(L"Path.Languages"), L"");
  EXPECT_EQ(Settings().GetSettingString(L"Skin"), L"Blue");
}

// --- Language -------------------------------------------------------------------

TEST_F(OxEngineTest, NoLanguageSetAndNoEnglishFileFallsBackToBuiltInEnglish) {
  engine_->Loaded();
  EXPECT_EQ(engine_->Language(), L"English");
  EXPECT_EQ(Settings().GetSettingString(L"Language"), L"English");
  EXPECT_EQ(engine_->GetAppString(L"MSGBox.CureAfterScan"), L"Cure the problems now?");
  EXPECT_EQ(language_events_, 0) << "Loaded selects without firing";
}

TEST_F(OxEngineTest, LoadsTheChosenLanguageAndClearsItForAMissingOne) {
  WriteAppFile(L"lang\\German.lan",
               L"[AppRes]\r\nMSGBox.CureAfterScan=Jetzt beheben?\r\n");
  Settings().SetSettingstring(L"Language", L"German");
  engine_->Loaded();
  EXPECT_EQ(engine_->Language(), L"German");
  EXPECT_EQ(engine_->GetAppString(L"MSGBox.CureAfterScan"), L"Jetzt beheben?");

  engine_->SetLanguage(L"");  // "Default", which has no file
  EXPECT_EQ(engine_->Language(), L"English");
  EXPECT_EQ(Settings().GetSettingString(L"Language"), L"English");
  EXPECT_EQ(engine_->GetAppString(L"MSGBox.CureAfterScan"), L"Cure the problems now?");
  EXPECT_EQ(language_events_, 1);
}

// A window with nothing but its caption.
class CaptionWindow : public TranslatableWindow {
 public:
  std::wstring Name() const override { return L"frmMain"; }
  std::wstring ClassName() const override { return L"TfrmMain"; }
  std::vector<TextProperty> TextProperties() const override { return {{L"Caption", L"TCaption"}}; }
  bool GetText(const std::wstring&, std::wstring* text) const override {
    *text = caption;
    return true;
  }
  void SetText(const std::wstring&, const std::wstring& text) override { caption = text; }
  std::vector<TranslatableComponent*> Components() override { return {}; }
  std::wstring caption = L"design";
};

TEST_F(OxEngineTest, WindowsFollowTheLanguageBackToEnglish) {
  WriteAppFile(L"lang\\German.lan", L"[TfrmMain]\r\nfrmMain.Caption=Hauptfenster\r\n");
  CaptionWindow window;
  TOxMultiLang multi_lang(&window);
  multi_lang.SetLanguageData(&language_);
  multi_lang.Loaded();
  ASSERT_EQ(window.caption, L"Main window");

  engine_->SetLanguage(L"German");
  EXPECT_EQ(window.caption, L"Hauptfenster");
  engine_->SetLanguage(L"English");  // no English.lan: the built-in texts
  EXPECT_EQ(window.caption, L"Main window") << "no German left on screen";
}

TEST_F(OxEngineTest, SelectingTheActiveLanguageDoesNothing) {
  WriteAppFile(L"lang\\German.lan", L"[AppRes]\r\nAppName=Brimlow DE\r\n");
  engine_->SetLanguage(L"German");
  ASSERT_EQ(language_events_, 1);
  Settings().SetSettingstring(L"Language", L"untouched");

  engine_->SetLanguage(L"German");
  EXPECT_EQ(language_events_, 1);
  EXPECT_EQ(Settings().GetSettingString(L"Language"), L"untouched");
}

TEST_F(OxEngineTest, LanguageChangeMergesSkinTextsAndRecomposesTheTitle) {
  FakeSkinHolder skin;
  engine_->SetSkinData(&skin);
  Settings().SetSettingstring(L"App.Ver", L"1.0.0.0");
  WriteAppFile(L"lang\\German.lan",
               L"[AppRes]\r\nAppName=Brimlow DE\r\n[SkinRes]\r\nMSG_CAP_SHOWFLAG=Nicht mehr zeigen\r\n");
  std::wstring sunk;
  engine_->SetTitleSink([&](const std::wstring& title) { sunk = title; });

  skin.resources = {L"BTN_OK=OK"};  // the toolkit's own text stays
  engine_->SetLanguage(L"German");
  EXPECT_EQ(skin.resources, (Names{L"BTN_OK=OK", L"MSG_CAP_SHOWFLAG=Nicht mehr zeigen"}));
  EXPECT_EQ(engine_->AppTitle(), L"Brimlow DE  1.0.0.0");
  EXPECT_EQ(sunk, L"Brimlow DE  1.0.0.0");

  WriteAppFile(L"lang\\French.lan", L"[SkinRes]\r\nMSG_CAP_SHOWFLAG=Ne plus afficher\r\n");
  engine_->SetLanguage(L"French");
  EXPECT_EQ(skin.resources, (Names{L"BTN_OK=OK", L"MSG_CAP_SHOWFLAG=Ne plus afficher"}))
      << "the second language replaces the first one's texts";
}

TEST_F(OxEngineTest, LanguageListPutsEnglishFirstAndSortsTheRest) {
  for (const wchar_t* name : {L"lang\\German.lan", L"lang\\english.lan", L"lang\\abc.lan",
                              L"lang\\readme.txt"}) {
    WriteAppFile(name, L"[Info]\r\n");
  }
  EXPECT_EQ(engine_->LanguageList(), (Names{L"English", L"abc", L"German"}));
}

// --- Skin -----------------------------------------------------------------------

TEST_F(OxEngineTest, SkinListNamesEachSkinFileWithoutItsExtensions) {
  EXPECT_EQ(engine_->SkinList(), Names{L"Default"}) << "no skin folder";
}

TEST_F(OxEngineTest, SkinListKeepsBothFilesOfOneSkin) {
  for (const wchar_t* name : {L"skins\\Red.nsf.skn", L"skins\\Blue.skn", L"skins\\Blue.nsf.skn",
                              L"skins\\default.skn", L"skins\\notes.txt"}) {
    WriteAppFile(name, L"x");
  }
  EXPECT_EQ(engine_->SkinList(), (Names{L"Default", L"Blue", L"Blue", L"Red"}));
}

TEST_F(OxEngineTest, SkinSelectionPrefersTheFramedFileAndFallsBackToBuiltIn) {
  WriteAppFile(L"skins\\Blue.skn", L"x");
  WriteAppFile(L"skins\\Blue.nsf.skn", L"x");
  WriteAppFile(L"skins\\Green.nsf.skn", L"x");
  FakeSkinHolder skin;
  skin.form = false;  // the built-in skin leaves the frame alone
  engine_->SetSkinData(&skin);
  engine_->Loaded();
  EXPECT_EQ(engine_->Skin(), L"Default");
  EXPECT_TRUE(skin.loaded.empty());

  engine_->SetSkin(L"Blue");
  ASSERT_EQ(skin.loaded.size(), 1u);
  EXPECT_TRUE(SameText(skin.loaded.back(), app_dir_ + L"skins\\Blue.skn"));
  EXPECT_TRUE(skin.form);

  engine_->SetSkin(L"Green");
  EXPECT_TRUE(SameText(skin.loaded.back(), app_dir_ + L"skins\\Green.nsf.skn"));
  EXPECT_FALSE(skin.form);
  EXPECT_EQ(Settings().GetSettingString(L"Skin"), L"Green");

  engine_->SetSkin(L"Missing");
  EXPECT_TRUE(skin.built_in);
  EXPECT_FALSE(skin.form) << "the built-in skin's own flag comes back";
  EXPECT_EQ(engine_->Skin(), L"Default");
  EXPECT_EQ(Settings().GetSettingString(L"Skin"), L"Default");
  EXPECT_EQ(skin_events_, 3);
}

TEST_F(OxEngineTest, GlowFramesGoOffOnVista64) {
  const struct {
    std::uint32_t major, minor;
    bool wow64;
    bool glow;
  } cases[] = {{6, 0, true, false}, {6, 0, false, true}, {6, 1, true, true}};
  for (const auto& c : cases) {
    class Version : public platform::OsVersion {
     public:
      bool Query(platform::ReportedVersion* v) override {
        *v = reported;
        return true;
      }
      bool IsWow64() override { return wow64; }
      platform::ReportedVersion reported;
      bool wow64 = false;
    } version;
    version.reported.extended = true;
    version.reported.platform_id = platform::OsPlatformId::kWindowsNt;
    version.reported.product_type = platform::OsProductType::kWorkstation;
    version.reported.major = c.major;
    version.reported.minor = c.minor;
    version.wow64 = c.wow64;
    platform::Platform with_version;
    with_version.version = &version;
    platform::ScopedPlatform scope(with_version);

    FakeSkinHolder skin;
    TOxEngine engine;
    engine.SetSkinData(&skin);
    engine.SetSkin(L"Default");
    EXPECT_EQ(skin.glow, c.glow) << c.major << "." << c.minor << " wow64 " << c.wow64;
  }
}

// --- Names, title, texts ------------------------------------------------------

TEST_F(OxEngineTest, TitleComposition) {
  Settings().SetSettingstring(L"App.Ver", L"");
  int title_events = 0;
  engine_->OnTitleChange = [&] { ++title_events; };
  engine_->UpdateTitle();
  EXPECT_EQ(engine_->AppTitle(), L"Brimlow  ") << "an empty version keeps the two blanks";
  EXPECT_EQ(title_events, 1);

  engine_->SetTitleIncludeVer(false);
  EXPECT_EQ(engine_->AppTitle(), L"Brimlow");

  Settings().SetSettingBool(L"App.NoAutoTitle", true);
  engine_->SetTitleIncludeVer(true);
  EXPECT_EQ(engine_->AppTitle(), L"Brimlow  ") << "composed but not applied";
  EXPECT_EQ(title_events, 2);
}

TEST_F(OxEngineTest, AppNameFallsBackToTheSetting) {
  Settings().SetSettingstring(L"App.Name", L"From Settings");
  EXPECT_EQ(engine_->AppName(), L"Brimlow");
  engine_->SetLanguageData(nullptr);
  EXPECT_EQ(engine_->AppName(), L"From Settings");
  EXPECT_EQ(engine_->GetLibString(L"btnOk.Caption"), L"");
}

TEST_F(OxEngineTest, StringLookupsAndPlaceholders) {
  EXPECT_EQ(engine_->GetLibString(L"TfrmOxAboutForm.Caption"), L"About Brimlow");
  EXPECT_EQ(engine_->GetLibString(L"MSGBox.CureAfterScan"), L"") << "wrong section";
  EXPECT_EQ(engine_->GetAppString(L"Nope"), L"");
  EXPECT_EQ(engine_->GetLibStringEx(L"Greeting", {L"A", L"B"}), L"A meets B, A again");
  EXPECT_EQ(engine_->GetAppStringEx(L"MSGBox.Found", {L"3"}), L"3 problems in {2}");
}

TEST_F(OxEngineTest, AboutInfo) {
  Settings().SetSettingstring(L"App.Ver", L"1.2.3.4");
  Settings().SetSettingstring(L"App.Notice", L"Notice text");
  Settings().SetSettingstring(L"URL.support", L"https://brimlow.example/support");
  engine_->Loaded();
  AboutInfo info = engine_->GetAboutInfo();
  EXPECT_EQ(info.caption, L"About Brimlow");
  EXPECT_EQ(info.ok_caption, L"&Ok");
  EXPECT_EQ(info.support_caption, L"Support");
  EXPECT_TRUE(info.support_url.starts_with(L"https://brimlow.example/support?ACTION=support&"));
  EXPECT_EQ(info.lines, (Names{L"Brimlow", L"Version : 1.2.3.4", L"Notice text"}));
  EXPECT_EQ(info.image_path, L"") << "no image";

  WriteAppFile(L"res\\images\\about.png", L"");
  EXPECT_EQ(engine_->GetAboutInfo().image_path, L"") << "an empty image";
  WriteAppFile(L"res\\images\\about.png", L"png");
  EXPECT_EQ(engine_->GetAboutInfo().image_path, app_dir_ + L"res\\images\\about.png");

  WriteAppFile(L"lang\\German.lan", L"[Info]\r\n");
  engine_->SetLanguage(L"German");
  EXPECT_EQ(engine_->GetAboutInfo().lines.back(), L"German is tranlated by ");
}

// --- Session end -----------------------------------------------------------------

TEST_F(OxEngineTest, SessionEndingLastsFiveMinutesAfterTheQuery) {
  std::uint64_t now = 0;
  engine_->SetTickClock([&] { return now; });
  EXPECT_FALSE(engine_->SessionEnding()) << "no query yet, even on a young clock";
  now = 1000;
  engine_->QueryEndSession();
  now = 300999;
  EXPECT_TRUE(engine_->SessionEnding());
  now = 301000;
  EXPECT_FALSE(engine_->SessionEnding());
}

}  // namespace
}  // namespace brimlow::testing
