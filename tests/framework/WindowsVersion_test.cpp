#include <gtest/gtest.h>

#include <string>

#include "base/Text.h"
#include "framework/WindowsVersion.h"
#include "platform/Platform.h"

namespace brimlow {
namespace {

namespace Id = platform::OsPlatformId;
namespace Type = platform::OsProductType;
namespace Arch = platform::OsArchitecture;

// One reported platform, written compactly.
struct Reported {
  std::uint32_t platform_id;
  std::uint32_t major, minor;
  std::uint8_t product_type = 0;  // 0: only the basic query answered
  std::uint16_t suite = 0;
  std::uint16_t architecture = Arch::kIntel;
  int r2 = 0;
  bool wow64 = false;
  std::wstring service_pack = L"";
};

WindowsVersionReport Make(const Reported& r) {
  WindowsVersionReport report;
  report.answered = true;
  report.version.extended = r.platform_id == Id::kWindowsNt && r.product_type != 0;
  report.version.platform_id = r.platform_id;
  report.version.major = r.major;
  report.version.minor = r.minor;
  report.version.build = 1234;
  report.version.product_type = r.product_type;
  report.version.suite_mask = r.suite;
  report.version.native_architecture = r.architecture;
  report.version.server_r2 = r.r2;
  report.version.service_pack = r.service_pack;
  report.wow64 = r.wow64;
  return report;
}

struct Row {
  const char* name;
  Reported reported;
  std::wstring product;
  TWindowsType kind;
  std::wstring edition;
  bool server;
  std::wstring full;
};

// Every row of the classification and edition tables.
const Row kRows[] = {
    // The 9x family and Win32s.
    {"win32s", {Id::kWin32s, 3, 10}, L"Microsoft Win32s", win31, L"", false, L"Microsoft Win32s"},
    {"95 OSR2 (C)", {Id::kWindows9x, 4, 0, 0, 0, 0, 0, false, L" C"}, L"Microsoft Windows 95", win95OSR2,
     L"OSR2", false, L"Microsoft Windows 95 OSR2"},
    {"95 OSR2 (B)", {Id::kWindows9x, 4, 0, 0, 0, 0, 0, false, L" B"}, L"Microsoft Windows 95", win95OSR2,
     L"OSR2", false, L"Microsoft Windows 95 OSR2"},
    {"95 plain", {Id::kWindows9x, 4, 0}, L"Microsoft Windows 95", win95, L"", false,
     L"Microsoft Windows 95 "},
    {"98 SE", {Id::kWindows9x, 4, 10, 0, 0, 0, 0, false, L" A "}, L"Microsoft Windows 98", win98se,
     L"SE", false, L"Microsoft Windows 98 SE"},
    {"98 plain", {Id::kWindows9x, 4, 10, 0, 0, 0, 0, false, L"A"}, L"Microsoft Windows 98", win98, L"",
     false, L"Microsoft Windows 98 "},
    {"Millennium", {Id::kWindows9x, 4, 90}, L"Microsoft Windows Millennium Edition", winME, L"", false,
     L"Microsoft Windows Millennium Edition"},
    // NT 6.0.
    {"Vista 64", {Id::kWindowsNt, 6, 0, Type::kWorkstation, 0x100, Arch::kAmd64, 0, true},
     L"Microsoft Windows Vista 64 Edition", winVista64, L"Professional", false,
     L"Microsoft Windows Vista 64 Edition Professional"},
    {"Vista home", {Id::kWindowsNt, 6, 0, Type::kWorkstation, 0x300}, L"Microsoft Windows Vista",
     winVista, L"Home Edition", false, L"Microsoft Windows Vista Home Edition"},
    {"Longhorn server", {Id::kWindowsNt, 6, 0, Type::kServer, 0x2}, L"Microsoft Windows Server Longhorn",
     winLonghorn, L"Server 4.0 Enterprise Edition", true,
     L"Microsoft Windows Server Longhorn Server 4.0 Enterprise Edition"},
    {"Longhorn DC, wow64 ignored", {Id::kWindowsNt, 6, 0, Type::kDomainController, 0, Arch::kIntel, 0, true},
     L"Microsoft Windows Server Longhorn", winLonghorn, L"Server 4.0", true,
     L"Microsoft Windows Server Longhorn Server 4.0"},
    // Later versions are not named.
    {"6.1 professional", {Id::kWindowsNt, 6, 1, Type::kWorkstation, 0x100}, L"", winUnknown,
     L"Professional", false, L" Professional"},
    {"10.0 home", {Id::kWindowsNt, 10, 0, Type::kWorkstation, 0x200}, L"", winUnknown, L"Home Edition",
     false, L" Home Edition"},
    // NT 5.2.
    {"2003 R2 on AMD64", {Id::kWindowsNt, 5, 2, Type::kServer, 0x80, Arch::kAmd64, 89},
     L"Microsoft Windows Server 2003 R2", win2003R2, L"Datacenter x64 Edition", true,
     L"Microsoft Windows Server 2003 R2 Datacenter x64 Edition"},
    {"XP x64", {Id::kWindowsNt, 5, 2, Type::kWorkstation, 0, Arch::kAmd64},
     L"Microsoft Windows XP Professional x64 Edition", winXPx64, L"", false,
     L"Microsoft Windows XP Professional x64 Edition "},
    {"2003 workstation on x86", {Id::kWindowsNt, 5, 2, Type::kWorkstation},
     L"Microsoft Windows Server 2003 family", win2003, L"Professional", false,
     L"Microsoft Windows Server 2003 family Professional"},
    {"2003 IA64 datacenter", {Id::kWindowsNt, 5, 2, Type::kServer, 0x82, Arch::kIa64},
     L"Microsoft Windows Server 2003 family", win2003, L"Datacenter Edition for Itanium-based Systems",
     true, L"Microsoft Windows Server 2003 family Datacenter Edition for Itanium-based Systems"},
    {"2003 IA64 enterprise", {Id::kWindowsNt, 5, 2, Type::kServer, 0x2, Arch::kIa64},
     L"Microsoft Windows Server 2003 family", win2003, L"Enterprise Edition for Itanium-based Systems",
     true, L"Microsoft Windows Server 2003 family Enterprise Edition for Itanium-based Systems"},
    {"2003 IA64 other", {Id::kWindowsNt, 5, 2, Type::kServer, 0x400, Arch::kIa64},
     L"Microsoft Windows Server 2003 family", win2003, L"", true,
     L"Microsoft Windows Server 2003 family "},
    {"2003 AMD64 enterprise", {Id::kWindowsNt, 5, 2, Type::kServer, 0x2, Arch::kAmd64},
     L"Microsoft Windows Server 2003 family", win2003, L"Enterprise x64 Edition", true,
     L"Microsoft Windows Server 2003 family Enterprise x64 Edition"},
    {"2003 AMD64 standard", {Id::kWindowsNt, 5, 2, Type::kDomainController, 0x400, Arch::kAmd64},
     L"Microsoft Windows Server 2003 family", win2003, L"Standard x64 Edition", true,
     L"Microsoft Windows Server 2003 family Standard x64 Edition"},
    {"2003 datacenter", {Id::kWindowsNt, 5, 2, Type::kServer, 0x4A3},
     L"Microsoft Windows Server 2003 family", win2003, L"Datacenter Edition", true,
     L"Microsoft Windows Server 2003 family Datacenter Edition"},
    {"2003 enterprise", {Id::kWindowsNt, 5, 2, Type::kServer, 0x423},
     L"Microsoft Windows Server 2003 family", win2003, L"Enterprise Edition", true,
     L"Microsoft Windows Server 2003 family Enterprise Edition"},
    {"2003 web", {Id::kWindowsNt, 5, 2, Type::kServer, 0x421},
     L"Microsoft Windows Server 2003 family", win2003, L"Web Edition", true,
     L"Microsoft Windows Server 2003 family Web Edition"},
    {"2003 small business", {Id::kWindowsNt, 5, 2, Type::kServer, 0x21},
     L"Microsoft Windows Server 2003 family", win2003, L"Small Business Server", true,
     L"Microsoft Windows Server 2003 family Small Business Server"},
    {"2003 small business restricted", {Id::kWindowsNt, 5, 2, Type::kServer, 0x20},
     L"Microsoft Windows Server 2003 family", win2003, L"Small Business Server ( Restricted )", true,
     L"Microsoft Windows Server 2003 family Small Business Server ( Restricted )"},
    {"2003 standard", {Id::kWindowsNt, 5, 2, Type::kServer, 0x10},
     L"Microsoft Windows Server 2003 family", win2003, L"Standard Edition", true,
     L"Microsoft Windows Server 2003 family Standard Edition"},
    // NT 5.1, 5.0, 4.
    {"XP home", {Id::kWindowsNt, 5, 1, Type::kWorkstation, 0x200}, L"Microsoft Windows XP", winXP,
     L"Home Edition", false, L"Microsoft Windows XP Home Edition"},
    {"XP on AMD64 hardware counts as x86", {Id::kWindowsNt, 5, 1, Type::kWorkstation, 0, Arch::kAmd64},
     L"Microsoft Windows XP", winXP, L"Professional", false, L"Microsoft Windows XP Professional"},
    {"2000 professional", {Id::kWindowsNt, 5, 0, Type::kWorkstation}, L"Microsoft Windows 2000", win2000,
     L"Professional", false, L"Microsoft Windows 2000 Professional"},
    {"2000 datacenter", {Id::kWindowsNt, 5, 0, Type::kServer, 0x82},
     L"Microsoft Windows Server 2000 family", win2000, L"Datacenter Server", true,
     L"Microsoft Windows Server 2000 family Datacenter Server"},
    {"2000 advanced", {Id::kWindowsNt, 5, 0, Type::kDomainController, 0x2},
     L"Microsoft Windows Server 2000 family", win2000, L"Advanced Server", true,
     L"Microsoft Windows Server 2000 family Advanced Server"},
    {"2000 server", {Id::kWindowsNt, 5, 0, Type::kServer}, L"Microsoft Windows Server 2000 family",
     win2000, L"Server", true, L"Microsoft Windows Server 2000 family Server"},
    {"NT 4 workstation", {Id::kWindowsNt, 4, 0, Type::kWorkstation, 0x200}, L"Microsoft Windows NT",
     winNT, L"Workstation 4.0", false, L"Microsoft Windows NT Workstation 4.0"},
    {"NT 4 enterprise", {Id::kWindowsNt, 4, 0, Type::kServer, 0x2}, L"Microsoft Windows NT", winNT,
     L"Server 4.0 Enterprise Edition", true, L"Microsoft Windows NT Server 4.0 Enterprise Edition"},
    {"NT 3.51 server", {Id::kWindowsNt, 3, 51, Type::kServer}, L"Microsoft Windows NT", winNT,
     L"Server 4.0", true, L"Microsoft Windows NT Server 4.0"},
};

TEST(WindowsVersion, EveryRowOfTheTables) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    TWindowsTypeEx info;
    GetWindowsTypeEx(Make(row.reported), info);
    EXPECT_EQ(info.Product, row.product);
    EXPECT_EQ(info.OSKind, row.kind);
    EXPECT_EQ(info.Kind.AsString, row.edition);
    EXPECT_EQ(info.Server, row.server);
    EXPECT_EQ(info.Kind.AsType, row.server ? wptServer : wptWorkstation);
    EXPECT_EQ(info.Full, row.full);
  }
}

TEST(WindowsVersion, NumbersAndServicePack) {
  WindowsVersionReport report = Make({Id::kWindowsNt, 5, 1, Type::kWorkstation});
  report.version.build = 2600;
  report.version.service_pack = L"Service Pack 3";
  report.version.service_pack_major = 3;
  TWindowsTypeEx info;
  GetWindowsTypeEx(report, info);
  EXPECT_EQ(info.OSVersion.AsString, L"5.1");
  EXPECT_EQ(info.OSVersion.Major, 5);
  EXPECT_EQ(info.OSVersion.Minor, 1);
  EXPECT_EQ(info.OSBuild, 2600);
  EXPECT_EQ(info.ServicePackVersion.AsString, L"3.0");
  EXPECT_EQ(info.ServicePackVersion.Major, 3);
  // The " (Build n) " and CR LF appended, then trimmed away at the end.
  EXPECT_EQ(info.ServicePack, L"Service Pack 3 (Build 2600)");

  // 9x: the text as reported, trimmed.
  TWindowsTypeEx old;
  GetWindowsTypeEx(Make({Id::kWindows9x, 4, 10, 0, 0, 0, 0, false, L" A "}), old);
  EXPECT_EQ(old.ServicePack, L"A");
  EXPECT_EQ(old.ServicePackVersion.AsString, L"0.0") << "no extended information";
}

TEST(WindowsVersion, OldNtWithoutExtendedInformation) {
  const struct {
    std::wstring product_type;
    std::wstring edition;
  } cases[] = {
      {L"WinNT", L"Workstation 4.0 "},
      {L"LANMANNT", L"Server 4.0 "},
      {L"ServerNT", L"Advanced Server 4.0 "},
      {L"", L" 4.0 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.product_type));
    WindowsVersionReport report = Make({Id::kWindowsNt, 4, 0});
    report.product_options_type = c.product_type;
    TWindowsTypeEx info;
    GetWindowsTypeEx(report, info);
    EXPECT_EQ(info.Kind.AsString, c.edition);
    EXPECT_EQ(info.Full, L"Microsoft Windows NT " + c.edition);
    EXPECT_FALSE(info.Server);
    EXPECT_EQ(info.ServicePackVersion.AsString, L"0.0");
  }
}

TEST(WindowsVersion, ServicePack6aNeedsTheHotfixKeyAndUsesTheLowBuildBits) {
  const struct {
    std::uint32_t major;
    std::wstring text;
    bool hotfix;
    std::wstring expected;
  } cases[] = {
      {4, L"service pack 6", true, L"Service Pack 6a (Build 1381)"},
      {4, L"Service Pack 6", false, L"Service Pack 6 (Build 1381)"},
      {4, L"Service Pack 5", true, L"Service Pack 5 (Build 1381)"},
      {5, L"Service Pack 6", true, L"Service Pack 6 (Build 1381)"},
      {4, L"", false, L"(Build 1381)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.expected));
    WindowsVersionReport report = Make({Id::kWindowsNt, c.major, 0, Type::kWorkstation});
    report.version.build = 0x0A000565;  // 1381 in the low 16 bits
    report.version.service_pack = c.text;
    report.hotfix_q246009 = c.hotfix;
    TWindowsTypeEx info;
    GetWindowsTypeEx(report, info);
    EXPECT_EQ(info.ServicePack, c.expected);
  }
}

TEST(WindowsVersion, FieldsTheRulesDoNotSetKeepTheCallersValues) {
  TWindowsTypeEx given;
  given.Product = L"given";
  given.OSKind = win95;
  given.Kind.AsType = wptServer;
  given.Server = true;

  TWindowsTypeEx untouched = given;
  GetWindowsTypeEx(WindowsVersionReport{}, untouched);  // neither query answered
  EXPECT_EQ(untouched.Product, L"given");
  EXPECT_EQ(untouched.OSVersion.AsString, L"");
  EXPECT_TRUE(untouched.Server);

  TWindowsTypeEx later = given;
  GetWindowsTypeEx(Make({Id::kWindowsNt, 6, 1, Type::kWorkstation}), later);
  EXPECT_EQ(later.Product, L"given");
  EXPECT_EQ(later.OSKind, win95);
  EXPECT_FALSE(later.Server) << "always reset";
  EXPECT_EQ(later.Kind.AsType, wptWorkstation);

  TWindowsTypeEx x64 = given;
  GetWindowsTypeEx(Make({Id::kWindowsNt, 5, 2, Type::kWorkstation, 0, Arch::kAmd64}), x64);
  EXPECT_EQ(x64.Kind.AsType, wptServer) << "a workstation on AMD64 sets no edition";
}

// A platform whose version answers are fixed.
class FixedVersion : public platform::OsVersion {
 public:
  FixedVersion(bool answers, platform::ReportedVersion version, bool wow64)
      : answers_(answers), version_(std::move(version)), wow64_(wow64) {}
  bool Query(platform::ReportedVersion* version) override {
    if (answers_) *version = version_;
    return answers_;
  }
  bool IsWow64() override { return wow64_; }

 private:
  bool answers_;
  platform::ReportedVersion version_;
  bool wow64_;
};

TEST(WindowsVersion, IsVista64AsksThePlatform) {
  const struct {
    const char* name;
    bool answers;
    std::uint32_t major, minor;
    bool wow64;
    bool expected;
  } cases[] = {
      {"64-bit Vista", true, 6, 0, true, true},
      {"32-bit Vista", true, 6, 0, false, false},
      {"64-bit Windows 7", true, 6, 1, true, false},
      {"no answer", false, 6, 0, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    platform::ReportedVersion version;
    version.extended = true;
    version.platform_id = Id::kWindowsNt;
    version.major = c.major;
    version.minor = c.minor;
    version.product_type = Type::kWorkstation;
    FixedVersion fixed(c.answers, version, c.wow64);
    platform::Platform services;
    services.version = &fixed;
    platform::ScopedPlatform scope(services);
    EXPECT_EQ(IsVista64(), c.expected);
    EXPECT_EQ(IsWow64(), c.wow64);
  }
}

}  // namespace
}  // namespace brimlow
