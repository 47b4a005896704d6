#include "framework/OxEngine.h"

#include <chrono>

#include "base/Text.h"
#include "framework/OxMultiLangData.h"
#include "framework/utils/TextUtils.h"

namespace brimlow {
namespace {

TOxEngine* g_engine = nullptr;

// How long after the system's query to end the session the program counts
// the session as ending.
constexpr std::uint64_t kSessionEndWindowMs = 300000;

}  // namespace

TOxEngine* GetOxEngine() { return g_engine; }

TOxEngine::TOxEngine()
    : FSettingDefault{L"Path.Skins=skins", L"Path.Languages=lang"} {
  if (g_engine) return;
  g_engine = this;
  SetOxSettingsEngineLayers(this);
}

TOxEngine::~TOxEngine() {
  if (g_engine != this) return;
  g_engine = nullptr;
  if (GetOxSettingsEngineLayers() == this) SetOxSettingsEngineLayers(nullptr);
}

bool TOxEngine::FindSettingOverwrite(const std::wstring& name, std::wstring* value) const {
  return FindNameValue(FSettingOverwrite, name, value);
}

bool TOxEngine::FindSettingDefault(const std::wstring& name, std::wstring* value) const {
  return FindNameValue(FSettingDefault, name, value);
}

void TOxEngine::Loaded() {
  FInLoaded = true;
  if (FSkinData) {
    RememberBuiltInSkin();
    std::wstring skin = GetOxSettings().GetSettingString(L"Skin");
    SetSkin(skin.empty() ? L"Default" : skin);
  }
  if (FLanguageData) {
    std::wstring language = GetOxSettings().GetSettingString(L"Language");
    SetLanguage(language.empty() ? L"English" : language);
  }
  FInLoaded = false;
}

// --- Names and texts --------------------------------------------------------

std::wstring TOxEngine::AppName() const {
  std::wstring name;
  if (FLanguageData) name = FLanguageData->AppName();
  if (!name.empty()) return name;
  return GetOxSettings().GetSettingString(L"App.Name");
}

void TOxEngine::SetTitleIncludeVer(bool on) {
  FTitleIncludeVer = on;
  UpdateTitle();
}

void TOxEngine::UpdateTitle() {
  const TOxEngine* engine = GetOxEngine() ? GetOxEngine() : this;
  std::wstring title = engine->AppName();
  if (FTitleIncludeVer) title += L"  " + GetOxSettings().GetSettingString(L"App.Ver");
  FAppTitle = title;
  if (GetOxSettings().GetSettingBool(L"App.NoAutoTitle")) return;
  if (FTitleSink) FTitleSink(FAppTitle);
  if (OnTitleChange) OnTitleChange();
}

void TOxEngine::FillStrings(const std::wstring& section, const std::wstring& name,
                            std::wstring* value) const {
  value->clear();
  if (!FLanguageData) return;
  std::wstring found;
  if (FLanguageData->GetProp(section, L"", name, &found)) *value = found;
}

std::wstring TOxEngine::GetLibString(const std::wstring& strName) const {
  std::wstring value;
  FillStrings(L"LibRes", strName, &value);
  return value;
}

std::wstring TOxEngine::GetAppString(const std::wstring& strName) const {
  std::wstring value;
  FillStrings(L"AppRes", strName, &value);
  return value;
}

std::wstring TOxEngine::GetLibStringEx(const std::wstring& strName,
                                       const std::vector<std::wstring>& values) const {
  return FormatPlaceholders(GetLibString(strName), values);
}

std::wstring TOxEngine::GetAppStringEx(const std::wstring& strName,
                                       const std::vector<std::wstring>& values) const {
  return FormatPlaceholders(GetAppString(strName), values);
}

// --- Session end --------------------------------------------------------------

std::uint64_t TOxEngine::Now() const {
  if (FTickClock) return FTickClock();
  using namespace std::chrono;
  return static_cast<std::uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void TOxEngine::QueryEndSession() {
  FQueryEndSessionTime = Now();
  FQueryEndSessionSeen = true;
}

bool TOxEngine::SessionEnding() const {
  // Without a query there is no session end, however young the clock is.
  if (!FQueryEndSessionSeen) return false;
  return Now() - FQueryEndSessionTime < kSessionEndWindowMs;
}

}  // namespace brimlow
