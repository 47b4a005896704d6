#include "framework/OxSystemInfo.h"

#include "platform/OsVersion.h"
#include "platform/Platform.h"

namespace brimlow {

std::wstring WindowsVersionText() {
  platform::ReportedVersion version;
  if (!platform::Version().Query(&version)) return L"0_0_";
  return std::to_wstring(version.major) + L"_" + std::to_wstring(version.minor) + L"_" +
         version.service_pack;
}

// The version seam reports no language; 0 is what the web service takes
// for "not told".
int SystemDefaultLanguageId() { return 0; }

}  // namespace brimlow
