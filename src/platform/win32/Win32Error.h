// Win32 platform only.
#pragma once
// Converts the platform's error codes once, at the seam: a missing file,
// folder, key or value is kNotFound, anything else that went wrong kFailed.

#include <windows.h>

#include <string>

#include "platform/Result.h"

namespace brimlow::platform::win32 {

// ERROR_SUCCESS -> kOk; the "not there" family -> kNotFound; else kFailed.
Result ResultFromError(DWORD error);

// The platform's message for the error, without the trailing line break;
// "error <n>" when the platform has no text for it.
std::wstring ErrorMessage(DWORD error);

// The predefined key of the root (HKEY_CURRENT_USER ...).
HKEY RootKey(std::uint32_t root);

}  // namespace brimlow::platform::win32
