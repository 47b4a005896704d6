// Stand-in platform only.
#include "platform/Platform.h"
#include "platform/standin/StandinPlatform.h"

namespace brimlow::platform {

// Used when no system image was opened: an empty registry kept in memory
// only, and the host's files as drive Z:.
const Platform& DefaultPlatform() {
  static const standin::StandinPlatform* platform = new standin::StandinPlatform;
  return platform->platform();
}

}  // namespace brimlow::platform
