// The program's web addresses and the "vexa:" commands of embedded pages.

#include "framework/OxWebLinks.h"

#include <chrono>
#include <cstdio>

#include "base/Text.h"
#include "framework/OxEngine.h"
#include "framework/utils/NameValueList.h"
#include "framework/utils/Programs.h"
#include "framework/utils/RegStrings.h"
#include "framework/utils/TextUtils.h"
#include "framework/utils/Url.h"
#include "framework/OxSystemInfo.h"
#include "platform/Platform.h"

namespace brimlow {
namespace {

bool PassesUnencoded(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::wstring_view(L"@!$'()*-._").find(static_cast<wchar_t>(c)) != std::wstring_view::npos;
}

// Every occurrence of the pattern, found without regard to case, replaced.
std::wstring ReplaceAllText(const std::wstring& text, const std::wstring& pattern,
                            const std::wstring& replacement) {
  if (pattern.empty()) return text;
  const std::wstring upper_text = UpperCase(text);
  const std::wstring upper_pattern = UpperCase(pattern);
  std::wstring result;
  std::size_t from = 0;
  for (std::size_t at; (at = upper_text.find(upper_pattern, from)) != std::wstring::npos;
       from = at + pattern.size()) {
    result.append(text, from, at - from);
    result += replacement;
  }
  result.append(text, from, std::wstring::npos);
  return result;
}

std::wstring Hex8(std::uint32_t value) {
  wchar_t buffer[16];
  std::swprintf(buffer, 16, L"%08X", static_cast<unsigned>(value));
  return buffer;
}

std::wstring TwoDigits(int value, int width) {
  wchar_t buffer[16];
  std::swprintf(buffer, 16, L"%0*d", width, value);
  return buffer;
}

}  // namespace

std::wstring UrlEncode(std::wstring_view text) {
  static const wchar_t kHex[] = L"0123456789abcdef";
  std::wstring result;
  for (char byte : ToAnsi(text)) {
    const auto c = static_cast<unsigned char>(byte);
    if (PassesUnencoded(c)) {
      result += static_cast<wchar_t>(c);
    } else if (c == ' ') {
      result += L'+';
    } else {
      result += L'%';
      result += kHex[c >> 4];
      result += kHex[c & 0xF];
    }
  }
  return result;
}

std::wstring FormatUrlParam(const UrlParamFields& f) {
  std::wstring s = TwoDigits(f.seconds, 2) + TwoDigits(f.milliseconds, 3);
  s += L"&PID=" + UrlEncode(f.pid);
  s += L"&LANG=" + UrlEncode(f.language);
  s += L"&DAY=" + std::to_wstring(f.run_days);
  s += L"&RUNTIME=" + std::to_wstring(f.run_times);
  s += L"&VER=" + Hex8(f.version);
  s += L"&SVER=" + std::to_wstring(f.sub_version);
  s += L"&WVER=" + UrlEncode(f.windows_version);
  s += L"&WLANG=" + std::to_wstring(f.windows_language);
  s += L"&CHL=" + HexOfLowBytes(f.channel, static_cast<int>(f.channel.size()));
  return s;
}

std::wstring DistributionChannel(const std::wstring& reg_path) {
  return CleanDistributionChannel(RegReadStringDef(platform::RegRoot::kLocalMachine,
                                                   L"Software\\" + reg_path, L"CHL", L"unknow"));
}

std::wstring CleanDistributionChannel(const std::wstring& raw) {
  std::wstring channel;
  for (wchar_t c : raw) {
    if (c != L'"') channel += c;
  }
  const std::size_t cut = channel.find_last_of(L"\\:");
  return cut == std::wstring::npos ? channel : channel.substr(cut + 1);
}

UrlParamFields CollectUrlParamFields() {
  using namespace std::chrono;
  // Seconds and milliseconds are the same in local time and in UTC.
  const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  TOxSettings& settings = GetOxSettings();

  UrlParamFields f;
  f.seconds = static_cast<int>((ms / 1000) % 60);
  f.milliseconds = static_cast<int>(ms % 1000);
  f.pid = settings.GetSettingString(L"App.PID");
  if (f.pid.empty()) f.pid = settings.GetSettingString(L"App.MagicWord");
  f.language = settings.GetSettingString(L"Language");
  f.run_days = settings.GetRunDays();
  f.run_times = settings.RunTimes();
  f.version = VersionToInt(settings.GetSettingString(L"App.Ver"));
  f.sub_version = settings.GetSettingInteger(L"App.SubVer");
  f.windows_version = WindowsVersionText();
  f.windows_language = SystemDefaultLanguageId();
  f.channel = DistributionChannel(settings.GetSettingString(L"App.RegPath"));
  return f;
}

// --- Engine operations ------------------------------------------------------

std::wstring TOxEngine::GetURLParam() const { return FormatUrlParam(CollectUrlParamFields()); }

std::wstring TOxEngine::GetURL(const std::wstring& strPage, bool bAddParams) const {
  TOxSettings& settings = GetOxSettings();
  std::wstring value = settings.GetSettingString(L"URL." + strPage);
  if (!Trim(value).empty()) {
    std::wstring app_dir = settings.ConstDataPath();
    if (!app_dir.empty()) app_dir.pop_back();
    value = ReplaceAllText(value, L"%exepath%", app_dir);
  } else {
    value = settings.GetSettingString(L"URL.Redirect");
  }
  if (!bAddParams || !StartsWithText(value, L"http")) return value;
  // The page name may come from a web page ("vexa:" links): encoded, it can
  // neither add parameters nor break out of the browser's quoted argument.
  return AppendUrlParam(value, L"ACTION=" + UrlEncode(strPage) + L"&" + GetURLParam());
}

bool TOxEngine::ShowPage(const std::wstring& strPage) { return ShowPageByURL(GetURL(strPage, true)); }

bool TOxEngine::ShowPageByURL(const std::wstring& strURL) {
  return OpenUrlInBrowser(FParentHWND, strURL);
}

void TOxEngine::WebBeforeNavigate2(const std::wstring& url, bool* cancel) {
  if (!StartsWithText(url, L"vexa:")) return;
  std::vector<std::wstring> params;
  ParseUrlParams(url, &params, true);
  const std::wstring page = ListValueOf(params, L"PAGE");
  if (!page.empty()) ShowPage(page);
  if (cancel) *cancel = true;
}

}  // namespace brimlow
