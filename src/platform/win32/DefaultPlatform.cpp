// Win32 platform only.
#include "platform/Platform.h"

namespace brimlow::platform {

// Placeholder until the stand-in services exist.
const Platform& DefaultPlatform() {
  static const Platform platform;
  return platform;
}

}  // namespace brimlow::platform
