// TOxSettings: message flags, the all-users flag and decision, run days,
// the direct language look-up and the scrambled pair.

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include "framework/OxMultiLangLan.h"
#include "framework/OxSettings.h"
#include "framework/utils/Files.h"
#include "framework/utils/TextUtils.h"
#include "platform/Platform.h"

namespace brimlow {
namespace {

const wchar_t kShowAgain[] = L"ShowAgain";
const wchar_t kShowAgainResult[] = L"ShowAgainModuleResult";
const std::uint32_t kGenericWrite = 0x40000000u;

// Local time now as a date-time (days since 30 December 1899).
double NowLocal() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  if (!local) return 0;
  using namespace std::chrono;
  const year_month_day date{year{local->tm_year + 1900},
                            month{static_cast<unsigned>(local->tm_mon + 1)},
                            day{static_cast<unsigned>(local->tm_mday)}};
  const sys_days epoch{year{1899} / December / 30};
  const double days = static_cast<double>((sys_days{date} - epoch).count());
  const int seconds = local->tm_hour * 3600 + local->tm_min * 60 + local->tm_sec;
  return days + seconds / 86400.0;
}

std::wstring WithoutTrailingBackslash(std::wstring path) {
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

// The mask half that scrambles the character at this position.
std::uint16_t MaskAt(std::uint32_t mask, std::size_t position) {
  return static_cast<std::uint16_t>(position % 2 == 0 ? mask & 0xFFFF : mask >> 16);
}

}  // namespace

// --- Message flags -----------------------------------------------------------

bool TOxSettings::GetMessageShowAgainFlag(int iNumber) const {
  return SafeStrToInt(FSettingIni.ReadString(kShowAgain, std::to_wstring(iNumber), L"1"), 0) != 0;
}

bool TOxSettings::SetMessageShowAgainFlag(int iNumber, bool bValue) {
  FSettingIni.WriteString(kShowAgain, std::to_wstring(iNumber), bValue ? L"1" : L"0");
  return SaveFlushed();
}

int TOxSettings::GetMessageShowAgainResult(int iNumber) const {
  return SafeStrToInt(FSettingIni.ReadString(kShowAgainResult, std::to_wstring(iNumber), L"1"),
                      0);
}

bool TOxSettings::SetMessageShowAgainResult(int iNumber, int iValue) {
  FSettingIni.WriteString(kShowAgainResult, std::to_wstring(iNumber), std::to_wstring(iValue));
  return SaveFlushed();
}

bool TOxSettings::ClearShowAgainFlag() {
  FSettingIni.EraseSection(kShowAgain);
  FSettingIni.EraseSection(kShowAgainResult);
  return SaveFlushed();
}

// --- The all-users flag and decision ----------------------------------------

std::wstring TOxSettings::UserFlagFile() const {
  platform::Files().CreateFolder(FUserDataPathCurrentUser);
  return FUserDataPathCurrentUser + L"UserFlag.ini";
}

bool TOxSettings::IsAllUserFlagExists() const {
  IniFile flags;
  flags.LoadFromFile(UserFlagFile());
  return flags.ValueExists(L"Flag", L"AllUsers");
}

bool TOxSettings::GetAllUserFlag() const {
  IniFile flags;
  flags.LoadFromFile(UserFlagFile());
  return SafeStrToInt(flags.ReadString(L"Flag", L"AllUsers", L"1"), 0) != 0;
}

bool TOxSettings::SetAllUserFlag(bool bValue) {
  IniFile flags;
  const std::wstring file = UserFlagFile();
  flags.LoadFromFile(file);
  flags.WriteString(L"Flag", L"AllUsers", bValue ? L"1" : L"0");
  return platform::Ok(flags.SaveToFile(file));
}

bool TOxSettings::IsAllUserPathWriteable() const {
  const std::wstring folder = WithoutTrailingBackslash(FUserDataPathAllUsers);
  if (folder.empty()) return false;
  platform::Files().CreateFolder(folder);
  platform::FileEntry entry;
  if (!platform::Ok(platform::Files().Stat(folder, &entry)) || !entry.IsFolder()) return false;
  return platform::Files().CheckAccess(kGenericWrite, folder);
}

// The layer follows the decision itself rather than re-reading the flag, so
// that a flag file that could not be saved never sends the user layer to a
// folder already found unwritable.
void TOxSettings::DecideAllUsers() {
  bool all_users = false;
  if (IsAllUserFlagExists()) {
    all_users = GetAllUserFlag();
    if (all_users && !IsAllUserPathWriteable()) {
      all_users = false;
      SetAllUserFlag(false);
    }
  } else {
    all_users = IsAllUserPathWriteable();
    SetAllUserFlag(all_users);
  }
  SetAllUser(all_users);
}

// --- Run days ----------------------------------------------------------------

int TOxSettings::GetRunDays() const {
  const double now = NowLocal();
  int days = 0;
  for (const std::wstring& folder :
       {FConstDataPath, FUserDataPathCurrentUser, FUserDataPathAllUsers}) {
    platform::FileTime created = 0;
    // A zero time means the platform could not tell.
    if (!GetFileCreationTime(WithoutTrailingBackslash(folder), &created) || created == 0) {
      continue;
    }
    const double elapsed = std::fabs(now - FileTimeToDateTimeUtc(created));
    if (elapsed > days) days = static_cast<int>(std::trunc(elapsed));
  }
  return days;
}

// --- Language look-up without the language engine ----------------------------

std::wstring TOxSettings::SlowGetLanguageString(const std::wstring& strSection,
                                                const std::wstring& strValue,
                                                const std::wstring& strDefault) const {
  std::wstring language = GetSettingString(L"Language");
  const std::wstring forced = GetSettingString(L"Language.Force");
  if (!forced.empty()) language = forced;
  const std::wstring file =
      FConstDataPath + GetSettingString(L"Path.Languages") + L"\\" + language + L".lan";
  TOxMultiLangLan lan;
  if (!lan.LoadFromFile(file)) return strDefault;
  std::wstring value = strDefault;
  lan.GetProp(strSection, L"", strValue, &value);
  return value;
}

// --- The scrambled pair --------------------------------------------------------

std::wstring TOxSettings::GetSettingsecString(const std::wstring& strName) const {
  const std::wstring hex = GetSettingString(strName);
  if (hex.size() % 4 != 0) return L"";
  std::wstring text;
  for (std::size_t i = 0; i < hex.size(); i += 4) {
    std::uint32_t unit = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const int digit = HexDigit(hex[i + k]);
      if (digit < 0) return L"";
      unit = unit * 16 + static_cast<std::uint32_t>(digit);
    }
    text.push_back(static_cast<wchar_t>(unit ^ MaskAt(FEncodeMask, i / 4)));
  }
  return text;
}

bool TOxSettings::SetSettingsecString(const std::wstring& strName, const std::wstring& strValue) {
  static const wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring hex;
  for (std::size_t i = 0; i < strValue.size(); ++i) {
    const auto unit =
        static_cast<std::uint16_t>(static_cast<std::uint16_t>(strValue[i]) ^ MaskAt(FEncodeMask, i));
    for (int shift = 12; shift >= 0; shift -= 4) hex.push_back(kDigits[(unit >> shift) & 0xF]);
  }
  return SetSettingstring(strName, hex);
}

}  // namespace brimlow
