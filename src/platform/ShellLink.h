#pragma once
// Shell links (".lnk" files).

#include <string>

namespace brimlow::platform {

class ShellLinks {
 public:
  virtual ~ShellLinks() = default;

  // The target path of the link (at most 1024 characters); empty when the
  // file cannot be read as a link. On Win32 the calling thread must have
  // initialised COM.
  virtual std::wstring Target(const std::wstring& link_file) = 0;
};

}  // namespace brimlow::platform
