// Win32 platform only.
#include <windows.h>

#include "support/Wine.h"

namespace brimlow::testing {

bool UnderWine() {
  // Wine's ntdll exports its version; Windows' does not.
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace brimlow::testing
