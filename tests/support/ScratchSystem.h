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

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace brimlow::testing
