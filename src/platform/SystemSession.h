#pragma once
// Chooses the system the program works on and installs it as the current
// platform for the life of the session.
//
// Windows build: the machine itself; an image option is refused.
// Stand-in build: a system image folder -- the option when given, else the
// BRIMLOW_SYSTEM environment variable, else a default folder under the
// user's data folder.

#include <memory>
#include <string>

namespace brimlow::platform {

class SystemSession {
 public:
  SystemSession();
  ~SystemSession();
  SystemSession(const SystemSession&) = delete;
  SystemSession& operator=(const SystemSession&) = delete;

  // Main thread, once. On failure returns false with a message that names
  // the file (and line) at fault in *error.
  bool Open(const std::wstring& image_option, std::wstring* error);

  // Where the system lives, for messages ("image /x/y", "this machine").
  std::wstring Description() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace brimlow::platform
