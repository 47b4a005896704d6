// Stand-in platform only: there are no profile functions of the platform's
// own; INI files are read by the portable reader of the scan layer.

#include "platform/ProfileFile.h"

namespace brimlow::platform {

std::unique_ptr<ProfileFile> OpenNativeProfile(const std::wstring&) { return nullptr; }

}  // namespace brimlow::platform
