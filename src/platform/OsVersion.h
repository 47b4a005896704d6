#pragma once
// The platform's version as it reports it to the program. Any thread.
//
// Only numbers and flags are reported here; what they mean is decided in
// framework/WindowsVersion, the same way on every build.
//
// The stand-in reports a configurable Windows, read from the system image's
// environment variables (unset or malformed ones take the default, a 32-bit
// Windows 7 SP1 workstation):
//   BRIMLOW_WINDOWS_VERSION       "major.minor.build"            "6.1.7601"
//   BRIMLOW_WINDOWS_PLATFORM      platform id (0 Win32s, 1 9x, 2 NT)   "2"
//   BRIMLOW_WINDOWS_PRODUCT_TYPE  "workstation", "domaincontroller",
//                                 "server" or the number 1, 2, 3   "workstation"
//   BRIMLOW_WINDOWS_SERVICE_PACK  the service-pack text; a trailing
//                                 "Service Pack N[.M]" also gives the
//                                 service-pack numbers          "Service Pack 1"
//   BRIMLOW_WINDOWS_SUITE_MASK    the suite bits, decimal or 0x hex     "0x100"
//   BRIMLOW_WINDOWS_ARCHITECTURE  native processor: "x86", "ia64",
//                                 "amd64" or the number (0, 6, 9)  "x86"
//   BRIMLOW_WINDOWS_R2            the server-R2 metric, a number        "0"
//   BRIMLOW_WINDOWS_WOW64         "1"/"true": the program runs under the
//                                 32-bit layer of a 64-bit Windows      "0"
//   BRIMLOW_WINDOWS_EXTENDED      "0": only the basic query answers     "1"

#include <cstdint>
#include <string>

namespace brimlow::platform {

// The platform ids of the version query.
namespace OsPlatformId {
constexpr std::uint32_t kWin32s = 0;
constexpr std::uint32_t kWindows9x = 1;
constexpr std::uint32_t kWindowsNt = 2;
}  // namespace OsPlatformId

// Product types of the extended query.
namespace OsProductType {
constexpr std::uint8_t kWorkstation = 1;
constexpr std::uint8_t kDomainController = 2;
constexpr std::uint8_t kServer = 3;
}  // namespace OsProductType

// Native processor architectures.
namespace OsArchitecture {
constexpr std::uint16_t kIntel = 0;
constexpr std::uint16_t kIa64 = 6;
constexpr std::uint16_t kAmd64 = 9;
constexpr std::uint16_t kUnknown = 0xFFFF;
}  // namespace OsArchitecture

struct ReportedVersion {
  // True when the extended query answered; the fields marked "extended"
  // are then meaningful, otherwise they are zero.
  bool extended = false;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t platform_id = 0;
  std::wstring service_pack;            // the service-pack text as reported
  std::uint16_t service_pack_major = 0; // extended
  std::uint16_t service_pack_minor = 0; // extended
  std::uint16_t suite_mask = 0;         // extended
  std::uint8_t product_type = 0;        // extended
  // The server-R2 system metric.
  int server_r2 = 0;
  // The native processor architecture; kIntel when it could not be asked.
  std::uint16_t native_architecture = OsArchitecture::kIntel;
};

class OsVersion {
 public:
  virtual ~OsVersion() = default;

  // Fills *version with what the platform reports: the extended query
  // first, the basic one when that fails. Returns false (and leaves
  // *version as it was) when neither answers.
  virtual bool Query(ReportedVersion* version) = 0;

  // True when the platform has the query whether this 32-bit process runs
  // on a 64-bit platform and it answers yes; false when the query does not
  // exist or says no.
  virtual bool IsWow64() = 0;
};

}  // namespace brimlow::platform
