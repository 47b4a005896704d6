// Win32 platform only.
#pragma once
// Environment variables and folders as the machine reports them.

#include "platform/Environment.h"

namespace brimlow::platform::win32 {

class Win32Environment : public Environment {
 public:
  std::wstring Variable(const std::wstring& name) override;
  std::wstring Expand(const std::wstring& text) override;
  std::wstring AppFileName() override;
  std::wstring WindowsFolder() override;
  std::wstring TempFolder() override;
  std::wstring LongPath(const std::wstring& path) override;
  int WindowsMajorVersion() override;
};

}  // namespace brimlow::platform::win32
