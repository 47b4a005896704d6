#pragma once
// What the engine sends and decides about the operating system it runs on.

#include <string>

namespace brimlow {

// The version as "major_minor_service pack" (before URL encoding), e.g.
// "6_1_Service Pack 1"; "0_0_" when the platform cannot tell.
std::wstring WindowsVersionText();

// The system's default language identifier (1033 for US English); 0 when
// the platform cannot tell.
int SystemDefaultLanguageId();

}  // namespace brimlow
