#pragma once
// Stand-in platform only: the target path of a shell link (".lnk") read from
// its binary form, as the shell's link object reports it with the UNC path
// preferred: the network name and suffix when the link records one, else the
// local base path and suffix, else the path rebuilt from the item ID list.
//
// Every offset is checked against the data: a malformed or truncated link
// gives "", never a read outside the buffer.

#include <string>

#include "base/Text.h"
#include "platform/ShellLink.h"
#include "platform/standin/StandinFileSystem.h"

namespace brimlow::platform::standin {

// The target, at most 1023 characters (the shell's 1024-character buffer);
// empty when the data is not a readable link.
std::wstring ShellLinkTarget(const Bytes& link);

class StandinShellLinks : public ShellLinks {
 public:
  // The file system must outlive this object.
  explicit StandinShellLinks(FileSystem& files) : files_(files) {}
  std::wstring Target(const std::wstring& link_file) override;

 private:
  FileSystem& files_;
};

}  // namespace brimlow::platform::standin
