#include "framework/WindowsVersion.h"

#include "base/Text.h"
#include "platform/Platform.h"

namespace brimlow {
namespace {

using platform::OsArchitecture::kAmd64;
using platform::OsArchitecture::kIa64;
using platform::OsArchitecture::kIntel;
namespace Id = platform::OsPlatformId;
namespace Product = platform::OsProductType;

// Suite mask bits.
constexpr std::uint16_t kSmallBusiness = 0x1;
constexpr std::uint16_t kEnterprise = 0x2;
constexpr std::uint16_t kSmallBusinessRestricted = 0x20;
constexpr std::uint16_t kDatacenter = 0x80;
constexpr std::uint16_t kPersonal = 0x200;
constexpr std::uint16_t kBlade = 0x400;

TWindowsProductVersion MakeVersion(std::int32_t major, std::int32_t minor) {
  return {std::to_wstring(major) + L"." + std::to_wstring(minor), major, minor};
}

bool Is(const platform::ReportedVersion& v, std::uint32_t major, std::uint32_t minor) {
  return v.major == major && v.minor == minor;
}

// The second character of the service-pack text, or none.
wchar_t SecondChar(const std::wstring& text) { return text.size() > 1 ? text[1] : L'\0'; }

void Describe9x(const platform::ReportedVersion& v, TWindowsTypeEx& info) {
  info.Kind.AsType = wptWorkstation;
  info.ServicePack = v.service_pack;
  if (v.platform_id == Id::kWin32s) {
    info.Product = L"Microsoft Win32s";
    info.OSKind = win31;
    info.Full = info.Product;
    return;
  }
  const wchar_t second = SecondChar(v.service_pack);
  if (Is(v, 4, 0)) {
    info.Product = L"Microsoft Windows 95";
    const bool osr2 = second == L'C' || second == L'B';
    info.OSKind = osr2 ? win95OSR2 : win95;
    info.Kind.AsString = osr2 ? L"OSR2" : L"";
    info.Full = info.Product + L" " + info.Kind.AsString;
  } else if (Is(v, 4, 10)) {
    info.Product = L"Microsoft Windows 98";
    const bool se = second == L'A';
    info.OSKind = se ? win98se : win98;
    info.Kind.AsString = se ? L"SE" : L"";
    info.Full = info.Product + L" " + info.Kind.AsString;
  } else if (Is(v, 4, 90)) {
    info.Product = L"Microsoft Windows Millennium Edition";
    info.OSKind = winME;
    info.Full = info.Product;
  }
}

// The native architecture counts only on 5.2.
std::uint16_t Architecture(const platform::ReportedVersion& v) {
  return Is(v, 5, 2) ? v.native_architecture : kIntel;
}

void ClassifyNt(const WindowsVersionReport& report, TWindowsTypeEx& info) {
  const platform::ReportedVersion& v = report.version;
  const bool workstation = v.product_type == Product::kWorkstation;
  if (Is(v, 6, 0)) {
    if (workstation && report.wow64) {
      info.Product = L"Microsoft Windows Vista 64 Edition";
      info.OSKind = winVista64;
    } else if (workstation) {
      info.Product = L"Microsoft Windows Vista";
      info.OSKind = winVista;
    } else {
      info.Product = L"Microsoft Windows Server Longhorn";
      info.OSKind = winLonghorn;
    }
  } else if (Is(v, 5, 2)) {
    if (v.server_r2 != 0) {
      info.Product = L"Microsoft Windows Server 2003 R2";
      info.OSKind = win2003R2;
    } else if (workstation && Architecture(v) == kAmd64) {
      info.Product = L"Microsoft Windows XP Professional x64 Edition";
      info.OSKind = winXPx64;
    } else {
      info.Product = L"Microsoft Windows Server 2003 family";
      info.OSKind = win2003;
    }
  } else if (Is(v, 5, 1)) {
    info.Product = L"Microsoft Windows XP";
    info.OSKind = winXP;
  } else if (Is(v, 5, 0)) {
    info.Product = L"Microsoft Windows 2000";
    info.OSKind = win2000;
  } else if (v.major <= 4) {
    info.Product = L"Microsoft Windows NT";
    info.OSKind = winNT;
  }
}

const wchar_t* ServerEdition(const platform::ReportedVersion& v, TWindowsTypeEx& info) {
  const std::uint16_t suite = v.suite_mask;
  if (Is(v, 5, 2)) {
    const std::uint16_t architecture = Architecture(v);
    if (architecture == kIa64) {
      if (suite & kDatacenter) return L"Datacenter Edition for Itanium-based Systems";
      if (suite & kEnterprise) return L"Enterprise Edition for Itanium-based Systems";
      return nullptr;
    }
    if (architecture == kAmd64) {
      if (suite & kDatacenter) return L"Datacenter x64 Edition";
      if (suite & kEnterprise) return L"Enterprise x64 Edition";
      return L"Standard x64 Edition";
    }
    if (suite & kDatacenter) return L"Datacenter Edition";
    if (suite & kEnterprise) return L"Enterprise Edition";
    if (suite & kBlade) return L"Web Edition";
    if (suite & kSmallBusiness) return L"Small Business Server";
    if (suite & kSmallBusinessRestricted) return L"Small Business Server ( Restricted )";
    return L"Standard Edition";
  }
  if (Is(v, 5, 0)) {
    info.Product = L"Microsoft Windows Server 2000 family";
    if (suite & kDatacenter) return L"Datacenter Server";
    if (suite & kEnterprise) return L"Advanced Server";
    return L"Server";
  }
  if (suite & kEnterprise) return L"Server 4.0 Enterprise Edition";
  return L"Server 4.0";
}

void ExtendedEdition(const platform::ReportedVersion& v, TWindowsTypeEx& info) {
  const bool workstation = v.product_type == Product::kWorkstation;
  if (workstation && Architecture(v) != kAmd64) {
    info.Kind.AsType = wptWorkstation;
    if (v.major == 4) info.Kind.AsString = L"Workstation 4.0";
    else info.Kind.AsString = (v.suite_mask & kPersonal) ? L"Home Edition" : L"Professional";
    return;
  }
  if (v.product_type == Product::kServer || v.product_type == Product::kDomainController) {
    info.Server = true;
    info.Kind.AsType = wptServer;
    if (const wchar_t* edition = ServerEdition(v, info)) info.Kind.AsString = edition;
  }
  // A workstation on AMD64 has no edition text.
}

void BasicEdition(const WindowsVersionReport& report, TWindowsTypeEx& info) {
  const std::wstring type = UpperCase(report.product_options_type);
  if (type == L"WINNT") info.Kind.AsString = L"Workstation";
  else if (type == L"LANMANNT") info.Kind.AsString = L"Server";
  else if (type == L"SERVERNT") info.Kind.AsString = L"Advanced Server";
  info.Kind.AsString += L" " + std::to_wstring(report.version.major) + L"." +
                        std::to_wstring(report.version.minor) + L" ";
}

void NtServicePack(const WindowsVersionReport& report, TWindowsTypeEx& info) {
  const platform::ReportedVersion& v = report.version;
  const std::wstring build = std::to_wstring(v.build & 0xFFFF);
  if (v.major == 4 && SameText(v.service_pack, L"Service Pack 6") && report.hotfix_q246009) {
    info.ServicePack = L"Service Pack 6a (Build " + build + L") \r\n";
  } else {
    info.ServicePack = v.service_pack + L" (Build " + build + L") \r\n";
  }
}

void DescribeNt(const WindowsVersionReport& report, TWindowsTypeEx& info) {
  ClassifyNt(report, info);
  if (report.version.extended) ExtendedEdition(report.version, info);
  else BasicEdition(report, info);
  NtServicePack(report, info);
  info.Full = info.Product + L" " + info.Kind.AsString;
}

}  // namespace

void GetWindowsTypeEx(const WindowsVersionReport& report, TWindowsTypeEx& info) {
  if (!report.answered) return;
  const platform::ReportedVersion& v = report.version;
  info.OSVersion = MakeVersion(static_cast<std::int32_t>(v.major), static_cast<std::int32_t>(v.minor));
  info.ServicePackVersion = v.extended ? MakeVersion(v.service_pack_major, v.service_pack_minor)
                                       : MakeVersion(0, 0);
  info.Server = false;
  info.OSBuild = static_cast<std::int32_t>(v.build);
  if (v.platform_id == Id::kWin32s || v.platform_id == Id::kWindows9x) Describe9x(v, info);
  else if (v.platform_id == Id::kWindowsNt) DescribeNt(report, info);
  info.ServicePack = Trim(info.ServicePack);
}

WindowsVersionReport ReadWindowsVersionReport() {
  WindowsVersionReport report;
  report.answered = platform::Version().Query(&report.version);
  if (!report.answered) return report;
  report.wow64 = platform::Version().IsWow64();
  const platform::ReportedVersion& v = report.version;
  if (v.platform_id != platform::OsPlatformId::kWindowsNt) return report;
  if (!v.extended) {
    platform::RegValue value;
    if (platform::Reg().QueryValue(platform::RegRoot::kLocalMachine,
                                  L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions",
                                  L"ProductType", &value) == platform::Result::kOk) {
      report.product_options_type = platform::RegValueText(value);
    }
  }
  if (v.major == 4) {
    report.hotfix_q246009 =
        platform::Reg().KeyExists(platform::RegRoot::kLocalMachine,
                                  L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009") ==
        platform::Result::kOk;
  }
  return report;
}

void GetWindowsTypeEx(TWindowsTypeEx& info) { GetWindowsTypeEx(ReadWindowsVersionReport(), info); }

bool IsWow64() { return platform::Version().IsWow64(); }

bool IsVista64() {
  TWindowsTypeEx info;
  GetWindowsTypeEx(info);
  return info.OSKind == winVista64;
}

}  // namespace brimlow
