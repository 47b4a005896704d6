#include "regfile/RegFile.h"

namespace brimlow::regfile {
namespace {

using platform::RegRoot;

struct RootEntry {
  const wchar_t* name;
  const wchar_t* short_name;  // nullptr: no abbreviation
  RegRoot root;
};

constexpr RootEntry kRoots[] = {
    {L"HKEY_CLASSES_ROOT", L"HKCR", RegRoot::kClassesRoot},
    {L"HKEY_CURRENT_USER", L"HKCU", RegRoot::kCurrentUser},
    {L"HKEY_LOCAL_MACHINE", L"HKLM", RegRoot::kLocalMachine},
    {L"HKEY_USERS", L"HKU", RegRoot::kUsers},
    {L"HKEY_CURRENT_CONFIG", L"HKCC", RegRoot::kCurrentConfig},
    {L"HKEY_DYN_DATA", nullptr, RegRoot::kDynData},
};

}  // namespace

bool SplitRootKey(const std::wstring& full_key, RegRoot* root, std::wstring* path) {
  const auto slash = full_key.find(L'\\');
  const std::wstring_view root_name = std::wstring_view(full_key).substr(0, slash);
  for (const auto& entry : kRoots) {
    if (!SameText(root_name, entry.name) &&
        !(entry.short_name && SameText(root_name, entry.short_name))) {
      continue;
    }
    *root = entry.root;
    *path = slash == std::wstring::npos ? std::wstring() : full_key.substr(slash + 1);
    return true;
  }
  return false;
}

std::wstring RootName(RegRoot root) {
  for (const auto& entry : kRoots) {
    if (entry.root == root) return entry.name;
  }
  return L"HKEY_PERFORMANCE_DATA";
}

std::wstring FullKeyName(RegRoot root, const std::wstring& path) {
  std::wstring name = RootName(root);
  if (!path.empty()) name += L'\\' + path;
  return name;
}

}  // namespace brimlow::regfile
