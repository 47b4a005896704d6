// Win32 platform only.
#pragma once
// Foreground and top-most windows, and mail through the platform's simple
// mail interface (loaded from "MAPI32.DLL" on first use).

#include <mutex>

#include "platform/Desktop.h"

namespace brimlow::platform::win32 {

class Win32Desktop : public Desktop {
 public:
  Win32Desktop() = default;
  ~Win32Desktop() override;

  bool ForceForegroundWindow(WindowHandle window) override;
  void SetWindowTopMost(WindowHandle window, bool on) override;
  // Win32Mail.cpp.
  std::uint32_t ComposeMail(WindowHandle owner, const std::vector<std::wstring>& fields) override;

 private:
  struct MailLibrary;
  // The mail library, loaded once; null when the platform declares no
  // simple-mail client or the library lacks its entry points.
  const MailLibrary* Mail();

  std::once_flag mail_once_;
  MailLibrary* mail_ = nullptr;  // set once under mail_once_
};

}  // namespace brimlow::platform::win32
