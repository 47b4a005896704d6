// Win32 platform only.
// The Windows build always works on the machine it runs on: the default
// platform is already the real one, so a session only checks the option.

#include "platform/SystemSession.h"

namespace brimlow::platform {

struct SystemSession::Impl {};

SystemSession::SystemSession() : impl_(std::make_unique<Impl>()) {}
SystemSession::~SystemSession() = default;

bool SystemSession::Open(const std::wstring& image_option, std::wstring* error) {
  if (image_option.empty()) return true;
  if (error) {
    *error = L"--system " + image_option +
             L": a system image can only be used by the stand-in build; this build works on "
             L"this machine itself.";
  }
  return false;
}

std::wstring SystemSession::Description() const { return L"this machine"; }

}  // namespace brimlow::platform
