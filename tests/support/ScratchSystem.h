#pragma once
// A throw-away system for one test.
//
// Stand-in build: a fresh, empty system image in a temporary folder (with
// drive_c/ and the default environment), installed as the current platform
// for the life of the object and deleted afterwards.
// Windows build: the real platform (Wine's registry and files under the test
// run), with a scratch registry key and a scratch folder removed afterwards.
//
// Tests that must behave the same on both builds write only below
// RegRoot()\RegPath() and Folder().

#include <filesystem>
#include <memory>
#include <string>

#include "platform/Registry.h"

namespace brimlow::testing {

class ScratchSystem {
 public:
  ScratchSystem();
  ~ScratchSystem();
  ScratchSystem(const ScratchSystem&) = delete;
  ScratchSystem& operator=(const ScratchSystem&) = delete;

  // HKEY_CURRENT_USER.
  platform::RegRoot RegRoot() const { return platform::RegRoot::kCurrentUser; }
  // "Software\BrimlowTest\<unique>", created empty.
  const std::wstring& RegPath() const;
  // A Windows path of an empty folder, ending in a backslash.
  const std::wstring& Folder() const;

  // The "--system" argument of a tool that is to work on this system: the
  // image folder on the stand-in; empty on Windows (the machine itself).
  std::string SystemOption() const;
  // Where a Windows path of this system lives on the host, for tests that
  // must create what the platform cannot (a symbolic link). On Windows the
  // path itself.
  std::filesystem::path HostPath(const std::wstring& windows_path) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace brimlow::testing
