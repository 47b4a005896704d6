#include "framework/OxSystemInfo.h"

namespace brimlow {

std::wstring WindowsVersionText() { return L"0_0_"; }

int SystemDefaultLanguageId() { return 0; }

bool IsVista64() { return false; }

}  // namespace brimlow
