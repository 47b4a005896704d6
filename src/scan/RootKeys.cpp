#include "scan/RootKeys.h"

#include "base/Text.h"

namespace brimlow::scan {

std::optional<platform::RegRoot> RootKeyFromName(std::wstring_view name) {
  using platform::RegRoot;
  static constexpr struct {
    const wchar_t* name;
    RegRoot root;
  } kRoots[] = {
      {L"HKEY_CLASSES_ROOT", RegRoot::kClassesRoot},
      {L"HKEY_CURRENT_USER", RegRoot::kCurrentUser},
      {L"HKEY_LOCAL_MACHINE", RegRoot::kLocalMachine},
      {L"HKEY_USERS", RegRoot::kUsers},
      {L"HKEY_PERFORMANCE_DATA", RegRoot::kPerformanceData},
      {L"HKEY_CURRENT_CONFIG", RegRoot::kCurrentConfig},
      {L"HKEY_DYN_DATA", RegRoot::kDynData},
  };
  for (const auto& entry : kRoots) {
    if (SameText(name, entry.name)) return entry.root;
  }
  return std::nullopt;
}

}  // namespace brimlow::scan
