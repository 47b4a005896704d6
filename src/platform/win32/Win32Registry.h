// Win32 platform only.
#pragma once
// The registry seam on the registry API of the machine. Keys are opened per
// call and closed at once; nothing is cached.

#include "platform/Registry.h"

namespace brimlow::platform::win32 {

class Win32Registry : public Registry {
 public:
  Result KeyExists(RegRoot root, const std::wstring& path) override;
  Result SubKeyNames(RegRoot root, const std::wstring& path,
                     std::vector<std::wstring>* names) override;
  Result Values(RegRoot root, const std::wstring& path, std::vector<RegValue>* values) override;
  Result QueryValue(RegRoot root, const std::wstring& path, const std::wstring& name,
                    RegValue* value) override;
  Result CountChildren(RegRoot root, const std::wstring& path, std::uint32_t* subkeys,
                       std::uint32_t* values) override;
  Result CreateKey(RegRoot root, const std::wstring& path) override;
  Result SetValue(RegRoot root, const std::wstring& path, const RegValue& value) override;
  Result DeleteValue(RegRoot root, const std::wstring& path, const std::wstring& name) override;
  Result DeleteKeyTree(RegRoot root, const std::wstring& path) override;
};

}  // namespace brimlow::platform::win32
