#include "framework/OxSettings.h"

#include <charconv>
#include <memory>
#include <string>
#include <utility>

#include "framework/OxDebugTrace.h"
#include "framework/utils/Files.h"
#include "framework/utils/NameValueList.h"
#include "framework/utils/Paths.h"
#include "framework/utils/Rect.h"
#include "framework/utils/TextUtils.h"
#include "platform/Platform.h"

namespace brimlow {
namespace {

const wchar_t kSection[] = L"setting";

const OxSettingsEngineLayers*& EngineLayers() {
  static const OxSettingsEngineLayers* layers = nullptr;
  return layers;
}

std::unique_ptr<TOxSettings>& Store() {
  static std::unique_ptr<TOxSettings> store;
  return store;
}

// The executable's path as one folder name: "C:\Tools\app.exe" gives
// "C__Tools_app.exe", so that copies in different folders keep apart.
std::wstring MangledPath(std::wstring path) {
  for (wchar_t& c : path) {
    if (c == L'\\' || c == L':' || c == L'/') c = L'_';
  }
  return path;
}

std::wstring DataFolder(const std::wstring& root, const std::wstring& word) {
  return AddTrailingBackslash(root) + word + L"\\";
}

// Shortest text that reads back as the same number, "." as the separator.
std::wstring FloatToText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::wstring(buffer, result.ptr);
}

// Files written where the decimal separator is "," are read as well.
double TextToFloat(const std::wstring& text) {
  std::string narrow = ToUtf8(Trim(text));
  if (narrow.find('.') == std::string::npos) {
    const std::size_t comma = narrow.find(',');
    if (comma != std::string::npos) narrow[comma] = '.';
  }
  if (!narrow.empty() && narrow[0] == '+') narrow.erase(0, 1);
  double value = 0;
  const char* end = narrow.data() + narrow.size();
  const auto result = std::from_chars(narrow.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end || narrow.empty()) return 0;
  return value;
}

}  // namespace

void SetOxSettingsEngineLayers(const OxSettingsEngineLayers* layers) { EngineLayers() = layers; }

const OxSettingsEngineLayers* GetOxSettingsEngineLayers() { return EngineLayers(); }

bool FindNameValue(const std::vector<std::wstring>& lines, const std::wstring& name,
                   std::wstring* value) {
  const int index = IndexOfListName(lines, name);
  if (index < 0) return false;
  const std::wstring& line = lines[static_cast<std::size_t>(index)];
  const std::size_t eq = line.find(L'=');
  if (value) *value = eq == std::wstring::npos ? std::wstring() : line.substr(eq + 1);
  return true;
}

OxSettingsPlaces OxSettingsPlaces::FromPlatform() {
  OxSettingsPlaces places;
  places.app_dir = GetAppDir();
  places.app_file_name = GetAppFileName();
  places.user_root = GetShellFolder(L"AppData");
  places.common_root = GetCommonShellFolder(L"Common AppData");
  // A system without those shell folders still has the variables.
  if (places.user_root.empty()) places.user_root = platform::Env().Variable(L"APPDATA");
  if (places.common_root.empty()) {
    places.common_root = platform::Env().Variable(L"ALLUSERSPROFILE");
  }
  return places;
}

TOxSettings::TOxSettings(const std::wstring& strSettingFile)
    : TOxSettings(strSettingFile, OxSettingsPlaces::FromPlatform()) {}

TOxSettings::TOxSettings(const std::wstring& strSettingFile, const OxSettingsPlaces& places,
                         bool count_run)
    : places_(places) {
  Create(strSettingFile, count_run);
}

TOxSettings::~TOxSettings() = default;

void TOxSettings::Create(const std::wstring& strSettingFile, bool count_run) {
  FEncodeMask = 0x6B2F9D41u;
  FSettingFilename = strSettingFile.empty() ? L"setting.dat" : strSettingFile;
  const std::wstring const_name = strSettingFile.empty() ? L"const.dat" : strSettingFile;
  FConstDataPath = places_.app_dir;
  FConstValueIni.LoadFromFile(FConstDataPath + const_name);
  FOemValueIni.LoadFromFile(FConstDataPath + L"oem." + const_name);

  FConfigPathWord = GetSettingString(L"App.ConfigPath");
  if (FConfigPathWord.empty()) FConfigPathWord = MangledPath(places_.app_file_name);
  FUserDataPathCurrentUser = DataFolder(places_.user_root, FConfigPathWord);
  FUserDataPathAllUsers = DataFolder(places_.common_root, FConfigPathWord);

  DecideAllUsers();

  FRunTimes = GetSettingInteger(L"RunTimes");
  if (count_run) SetSettingInteger(L"RunTimes", FRunTimes + 1);
}

void TOxSettings::SetAllUser(bool value) {
  FAllUser = value;
  const std::wstring folder = value ? FUserDataPathAllUsers : FUserDataPathCurrentUser;
  platform::Files().CreateFolder(folder);
  FUserDataPath = AddTrailingBackslash(GetLongPath(folder));
  FSettingIni.Clear();
  const std::wstring file = FUserDataPath + FSettingFilename;
  platform::FileEntry entry;
  if (platform::Files().Stat(file, &entry) == platform::Result::kNotFound) {
    SaveTextToFile(L" ", file);
  }
  FSettingIni.LoadFromFile(file);
  setting_loaded_ = true;
}

int TOxSettings::FindSettingLayer(const std::wstring& strName, std::wstring* value) const {
  const OxSettingsEngineLayers* engine = EngineLayers();
  if (engine && engine->FindSettingOverwrite(strName, value)) return 1;
  if (FSettingIni.Find(kSection, strName, value)) return 2;
  if (FOemValueIni.Find(kSection, strName, value)) return 3;
  if (FConstValueIni.Find(kSection, strName, value)) return 4;
  if (engine && engine->FindSettingDefault(strName, value)) return 5;
  return 0;
}

bool TOxSettings::GetSettingExists(const std::wstring& strName) const {
  return FindSettingLayer(strName, nullptr) != 0;
}

std::wstring TOxSettings::GetSettingString(const std::wstring& strName) const {
  std::wstring value;
  if (FindSettingLayer(strName, &value) != 0) return value;
  OxDebugTrace(L"OxSettings", L"Setting Not Found :" + strName);
  return L"";
}

int TOxSettings::GetSettingInteger(const std::wstring& strName) const {
  return SafeStrToInt(GetSettingString(strName), 0);
}

double TOxSettings::GetSettingFloat(const std::wstring& strName) const {
  return TextToFloat(GetSettingString(strName));
}

bool TOxSettings::GetSettingBool(const std::wstring& strName) const {
  return GetSettingInteger(strName) != 0;
}

void TOxSettings::GetSettingRect(const std::wstring& strName, TRect* rect) const {
  TextToRect(GetSettingString(strName), rect);
}

bool TOxSettings::SetSettingstring(const std::wstring& strName, const std::wstring& strValue) {
  if (!setting_loaded_) return false;
  FSettingIni.WriteString(kSection, strName, strValue);
  return SaveFlushed();
}

bool TOxSettings::SetSettingInteger(const std::wstring& strName, int iValue) {
  return SetSettingstring(strName, std::to_wstring(iValue));
}

bool TOxSettings::SetSettingFloat(const std::wstring& strName, double fValue) {
  return SetSettingstring(strName, FloatToText(fValue));
}

bool TOxSettings::SetSettingBool(const std::wstring& strName, bool ibValue) {
  return SetSettingstring(strName, ibValue ? L"1" : L"0");
}

bool TOxSettings::SetSettingRect(const std::wstring& strName, const TRect& rcValue) {
  return SetSettingstring(strName, RectToText(rcValue));
}

bool TOxSettings::UpdateSettingINI() {
  if (!setting_loaded_) return false;
  return platform::Ok(FSettingIni.SaveToFile(FUserDataPath + FSettingFilename));
}

bool TOxSettings::SaveFlushed() { return FUpdating || UpdateSettingINI(); }

void TOxSettings::BeginUpdate() { FUpdating = true; }

bool TOxSettings::EndUpdate() {
  FUpdating = false;
  return UpdateSettingINI();
}

TOxSettings& GetOxSettings() {
  if (!Store()) Store() = std::make_unique<TOxSettings>(L"");
  return *Store();
}

void FreeOxSettings() { Store().reset(); }

void SetOxSettings(std::unique_ptr<TOxSettings> settings) { Store() = std::move(settings); }

}  // namespace brimlow
