// Win32 platform only.
#pragma once
// Shell links read through the shell's own link object (IShellLinkW with
// IPersistFile).

#include "platform/ShellLink.h"

namespace brimlow::platform::win32 {

class Win32ShellLinks : public ShellLinks {
 public:
  // Works on any thread: when the calling thread has not initialised COM,
  // the call initialises it (single-threaded apartment) for its own duration
  // and uninitialises it before returning. A thread that did initialise COM
  // keeps its apartment untouched.
  std::wstring Target(const std::wstring& link_file) override;
};

}  // namespace brimlow::platform::win32
