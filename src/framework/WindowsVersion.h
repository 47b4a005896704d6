#pragma once
// Which Windows the program runs on, described from the numbers the
// platform reports. GetWindowsTypeEx(report, ...) is a pure function of
// those numbers, so every platform's answer can be worked out anywhere.

#include <cstdint>
#include <string>

#include "platform/OsVersion.h"

namespace brimlow {

enum TWindowsType : std::int8_t {
  winUnknown,
  win31,
  win95,
  win95OSR2,
  winNT,
  win98,
  win98se,
  winME,
  win2000,
  winXP,
  winXPx64,
  win2003,
  win2003R2,
  winVista,
  winVista64,
  winLonghorn,
};

enum TWindowsProductType : std::int8_t { wptWorkstation, wptServer };

struct TWindowsProductKind {
  std::wstring AsString;
  TWindowsProductType AsType = wptWorkstation;
};

struct TWindowsProductVersion {
  std::wstring AsString;  // "major.minor"
  std::int32_t Major = 0;
  std::int32_t Minor = 0;
};

struct TWindowsTypeEx {
  std::wstring Full;
  std::wstring Product;
  TWindowsProductKind Kind;
  TWindowsType OSKind = winUnknown;
  TWindowsProductVersion OSVersion;
  std::int32_t OSBuild = 0;
  bool Server = false;
  std::wstring ServicePack;
  TWindowsProductVersion ServicePackVersion;
};

// Everything the description is made from.
struct WindowsVersionReport {
  // False when neither version query answered.
  bool answered = false;
  platform::ReportedVersion version;
  // The platform's answer whether this 32-bit program runs on 64-bit Windows.
  bool wow64 = false;
  // The string "ProductType" under HKEY_LOCAL_MACHINE
  // "SYSTEM\CurrentControlSet\Control\ProductOptions" (asked only by old NT
  // without the extended query).
  std::wstring product_options_type;
  // Whether the key "Hotfix\Q246009" exists under HKEY_LOCAL_MACHINE
  // "SOFTWARE\Microsoft\Windows NT\CurrentVersion" (asked only for NT 4).
  bool hotfix_q246009 = false;
};

// Fills `info` from `report`. Fields the rules do not set keep the values
// the caller gave; with no answer the record is left untouched.
void GetWindowsTypeEx(const WindowsVersionReport& report, TWindowsTypeEx& info);

// The same from the running platform (version seam and registry).
void GetWindowsTypeEx(TWindowsTypeEx& info);
WindowsVersionReport ReadWindowsVersionReport();

// True when the platform can tell whether this 32-bit process runs on a
// 64-bit Windows and says it does.
bool IsWow64();

// True on the 64-bit edition of Windows Vista, where the skins' glow frames
// are switched off.
bool IsVista64();

}  // namespace brimlow
