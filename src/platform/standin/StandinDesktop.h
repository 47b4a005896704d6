#pragma once
// Stand-in platform only: there are no windows and no mail client, so every
// answer is "not available" -- ForceForegroundWindow false, SetWindowTopMost
// nothing, ComposeMail MailStatus::kNotSupported -- and nothing is shown.

#include "platform/Desktop.h"

namespace brimlow::platform::standin {

class StandinDesktop : public Desktop {
 public:
  bool ForceForegroundWindow(WindowHandle window) override;
  void SetWindowTopMost(WindowHandle window, bool on) override;
  std::uint32_t ComposeMail(WindowHandle owner, const std::vector<std::wstring>& fields) override;
};

}  // namespace brimlow::platform::standin
