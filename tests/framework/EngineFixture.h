#pragma once
// A program folder with its settings store in a scratch folder, and an
// engine over built-in texts of its own, for the engine's tests.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/Text.h"
#include "framework/OxEngine.h"
#include "framework/OxMultiLangData.h"
#include "framework/OxSettings.h"
#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow::testing {

// The built-in texts the engine tests use in place of the shipped ones.
inline const wchar_t kBuiltinTexts[] =
    L"[LibRes]\r\n"
    L"btnOk.Caption=&Ok\r\n"
    L"lblSupport.Caption=Support\r\n"
    L"TfrmOxAboutForm.Caption=About {AppName}\r\n"
    L"Greeting={1} meets {2}, {1} again\r\n"
    L"[AppRes]\r\n"
    L"AppName=Brimlow\r\n"
    L"MSGBox.CureAfterScan=Cure the problems now?\r\n"
    L"MSGBox.Found={1} problems in {2}\r\n"
    L"[TfrmMain]\r\n"
    L"frmMain.Caption=Main window\r\n";

class EngineFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    app_dir_ = system_.Folder() + L"app\\";
    ASSERT_TRUE(platform::Ok(platform::Files().CreateFolder(app_dir_ + L"lang")));
    OxSettingsPlaces places;
    places.app_dir = app_dir_;
    places.app_file_name = app_dir_ + L"brimlow.exe";
    places.user_root = system_.Folder() + L"user";
    places.common_root = system_.Folder() + L"common";
    SetOxSettings(std::make_unique<TOxSettings>(L"", places));
    language_.SetDefaultData(kBuiltinTexts);
    language_.SetCurrentData(kBuiltinTexts);
    engine_ = std::make_unique<TOxEngine>();
    engine_->SetLanguageData(&language_);
  }

  void TearDown() override {
    engine_.reset();
    FreeOxSettings();
  }

  // Writes a file below the program folder (8-bit text).
  void WriteAppFile(const std::wstring& relative, const std::wstring& text) {
    const std::string bytes = ToAnsi(text);
    const std::wstring path = app_dir_ + relative;
    const std::size_t slash = path.rfind(L'\\');
    ASSERT_TRUE(platform::Ok(platform::Files().CreateFolder(path.substr(0, slash))));
    ASSERT_TRUE(platform::Ok(platform::Files().WriteFileAtomic(path, Bytes(bytes.begin(), bytes.end()))));
  }

  static TOxSettings& Settings() { return GetOxSettings(); }

  ScratchSystem system_;
  std::wstring app_dir_;
  TOxMultiLangData language_;
  std::unique_ptr<TOxEngine> engine_;
};

}  // namespace brimlow::testing
