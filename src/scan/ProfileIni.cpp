#include "scan/ProfileIni.h"

namespace brimlow::scan {

std::unique_ptr<ProfileIni> OpenProfileIni(const std::wstring& path) {
  if (auto native = platform::OpenNativeProfile(path)) return native;
  return OpenPortableProfileIni(path);
}

}  // namespace brimlow::scan
