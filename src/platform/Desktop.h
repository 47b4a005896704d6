#pragma once
// Windows and simple mail: the few services that act on the program's
// windows. Window handles are opaque numbers (0: none). Main thread only.
//
// The Windows build acts on real windows. The stand-in has no windows and
// no mail client: its answers say "not available" (see each method).

#include <cstdint>
#include <string>
#include <vector>

namespace brimlow::platform {

// Status of ComposeMail, numbered as the platform's simple mail interface
// numbers them.
namespace MailStatus {
constexpr std::uint32_t kSuccess = 0;
constexpr std::uint32_t kUserAbort = 1;
constexpr std::uint32_t kFailure = 2;
constexpr std::uint32_t kLoginFailure = 3;
constexpr std::uint32_t kNotSupported = 26;
}  // namespace MailStatus

class Desktop {
 public:
  using WindowHandle = std::uintptr_t;

  virtual ~Desktop() = default;

  // Restores and shows the window and makes it the foreground window, past
  // the platform's foreground lock. true when it is the foreground window
  // afterwards; false when it could not be made so (stand-in: always
  // false).
  virtual bool ForceForegroundWindow(WindowHandle window) = 0;

  // Puts the window into the top-most band (on) or back into the normal
  // band, without moving, sizing or reordering its owner. Stand-in: no-op.
  virtual void SetWindowTopMost(WindowHandle window, bool on) = 0;

  // Opens the mail client's compose dialog with the fields ("name=value"
  // lines: "to", "subject", "body", "attachment0", "attachment1" ...) and
  // waits until the user sends or cancels. Returns the client's status
  // (MailStatus::kSuccess when sent); kLoginFailure when no mail client is
  // set up, after telling the user so. Stand-in: kNotSupported, silently.
  virtual std::uint32_t ComposeMail(WindowHandle owner, const std::vector<std::wstring>& fields) = 0;
};

}  // namespace brimlow::platform
