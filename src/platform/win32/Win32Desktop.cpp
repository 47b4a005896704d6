// Win32 platform only.
#include "platform/win32/Win32Desktop.h"

#include <windows.h>

namespace brimlow::platform::win32 {
namespace {

HWND ToHwnd(Desktop::WindowHandle window) { return reinterpret_cast<HWND>(window); }

// Whether this platform refuses to hand the foreground to a program that is
// not in it: the NT family from version 5 on, and the older family from
// version 4.10 on.
bool LocksForeground() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExW(&info)) return true;
  if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) return info.dwMajorVersion >= 5;
  return info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion >= 10);
}

void BringToFront(HWND window) {
  BringWindowToTop(window);
  SetForegroundWindow(window);
}

// Joins the input of the foreground window's thread, which lets this thread
// hand the foreground over.
void BringToFrontAttached(HWND window) {
  const DWORD foreground_thread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD own_thread = GetWindowThreadProcessId(window, nullptr);
  const bool attached = foreground_thread != own_thread &&
                        AttachThreadInput(own_thread, foreground_thread, TRUE);
  BringToFront(window);
  if (attached) AttachThreadInput(own_thread, foreground_thread, FALSE);
}

// The last resort: with the foreground lock time-out at 0 the platform lets
// the window through; the user's time-out is put back at once.
void BringToFrontUnlocked(HWND window) {
  DWORD timeout = 0;
  SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
  BringToFront(window);
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                        reinterpret_cast<void*>(static_cast<ULONG_PTR>(timeout)),
                        SPIF_SENDCHANGE);
}

}  // namespace

bool Win32Desktop::ForceForegroundWindow(WindowHandle handle) {
  HWND window = ToHwnd(handle);
  if (!IsWindow(window)) return false;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  ShowWindow(window, SW_SHOW);
  if (GetForegroundWindow() == window) return true;
  if (!LocksForeground()) {
    BringToFront(window);
    return GetForegroundWindow() == window;
  }
  BringToFrontAttached(window);
  if (GetForegroundWindow() != window) BringToFrontUnlocked(window);
  return GetForegroundWindow() == window;
}

void Win32Desktop::SetWindowTopMost(WindowHandle handle, bool on) {
  SetWindowPos(ToHwnd(handle), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER);
}

}  // namespace brimlow::platform::win32
