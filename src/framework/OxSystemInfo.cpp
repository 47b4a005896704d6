#include "framework/OxSystemInfo.h"

namespace brimlow {

std::wstring WindowsVersionText() { return L"0_0_"; }

int SystemDefaultLanguageId() { return 0; }

}  // namespace brimlow
