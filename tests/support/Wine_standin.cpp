// Stand-in platform only.
#include "support/Wine.h"

namespace brimlow::testing {

bool UnderWine() { return false; }

}  // namespace brimlow::testing
