// Stand-in platform only.
#include "platform/standin/StandinDesktop.h"

namespace brimlow::platform::standin {

bool StandinDesktop::ForceForegroundWindow(WindowHandle) { return false; }

void StandinDesktop::SetWindowTopMost(WindowHandle, bool) {}

std::uint32_t StandinDesktop::ComposeMail(WindowHandle, const std::vector<std::wstring>&) {
  return MailStatus::kNotSupported;
}

}  // namespace brimlow::platform::standin
