// Win32 platform only: the console window and its Ctrl+C / Ctrl+Break.
#include <windows.h>

#include <atomic>

#include "platform/Console.h"

namespace brimlow::platform {
namespace {

std::atomic<bool> g_interrupted{false};
std::atomic<int> g_events{0};  // never cleared: counts the user's presses

// Runs on a thread the system creates for the event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  // A second interrupt goes on to the default handler, which ends the
  // process.
  if (g_events.fetch_add(1) > 0) return FALSE;
  g_interrupted.store(true);
  return TRUE;
}

DWORD HandleIdOf(StdStream stream) {
  switch (stream) {
    case StdStream::kInput: return STD_INPUT_HANDLE;
    case StdStream::kOutput: return STD_OUTPUT_HANDLE;
    case StdStream::kError: return STD_ERROR_HANDLE;
  }
  return STD_ERROR_HANDLE;
}

}  // namespace

bool IsTerminal(StdStream stream) {
  HANDLE handle = ::GetStdHandle(HandleIdOf(stream));
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
  DWORD mode = 0;
  return ::GetConsoleMode(handle, &mode) != 0;
}

void CatchInterrupt() {
  static bool installed = false;
  if (installed) return;
  installed = ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != 0;
}

bool InterruptRequested() { return g_interrupted.load(); }
void RequestInterrupt() { g_interrupted.store(true); }
void ClearInterrupt() { g_interrupted.store(false); }

}  // namespace brimlow::platform
