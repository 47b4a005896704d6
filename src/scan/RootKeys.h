#pragma once
// Root-key names as topics, findings and registry files write them.

#include <optional>
#include <string_view>

#include "platform/Registry.h"

namespace brimlow::scan {

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
// "HKEY_USERS", "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG" and
// "HKEY_DYN_DATA", compared without regard to case; no root for any other
// name (abbreviations included), and every open below no root fails.
std::optional<platform::RegRoot> RootKeyFromName(std::wstring_view name);

}  // namespace brimlow::scan
