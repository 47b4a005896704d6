#pragma once
// The pieces of the program's web addresses: the usage parameters every
// page request carries, their URL encoding, and the distribution channel.
// The engine's GetURLParam, GetURL and ShowPage put them together.

#include <cstdint>
#include <string>
#include <string_view>

namespace brimlow {

// Encodes a text for a query: converted to the 8-bit code page; ASCII
// letters, digits and @ ! $ ' ( ) * - . _ pass unchanged, a blank becomes
// "+", every other byte "%" and two lower-case hexadecimal digits.
std::wstring UrlEncode(std::wstring_view text);

// The usage parameters, as collected, before encoding.
struct UrlParamFields {
  int seconds = 0;       // of the current time, 0..59
  int milliseconds = 0;  // 0..999
  std::wstring pid;      // "App.PID", else "App.MagicWord"
  std::wstring language;
  int run_days = 0;
  int run_times = 0;
  std::uint32_t version = 0;  // "App.Ver" packed
  int sub_version = 0;
  std::wstring windows_version;  // major_minor_service pack
  int windows_language = 0;      // system default language identifier
  std::wstring channel;          // the distribution channel, cleaned
};

// The parameter string: time stamp, "&PID=", "&LANG=", "&DAY=", "&RUNTIME=",
// "&VER=", "&SVER=", "&WVER=", "&WLANG=", "&CHL=", in that order.
std::wstring FormatUrlParam(const UrlParamFields& fields);

// The fields as the settings store, the registry and the system give them
// now. Main thread (it reads the settings).
UrlParamFields CollectUrlParamFields();

// The distribution channel the installer left: the string "CHL" under
// HKEY_LOCAL_MACHINE "Software\" + reg_path, "unknow" when missing, without
// double quotes and only after the last "\" or ":".
std::wstring DistributionChannel(const std::wstring& reg_path);
// The channel text without double quotes, only after the last "\" or ":".
std::wstring CleanDistributionChannel(const std::wstring& raw);

}  // namespace brimlow
