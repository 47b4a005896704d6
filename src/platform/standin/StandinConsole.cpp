// Stand-in platform only: the POSIX terminal and SIGINT.
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

#include "platform/Console.h"

namespace brimlow::platform {
namespace {

// Lock-free, so the signal handler may set it.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void OnInterrupt(int) { g_interrupted.store(true); }

int DescriptorOf(StdStream stream) {
  switch (stream) {
    case StdStream::kInput: return STDIN_FILENO;
    case StdStream::kOutput: return STDOUT_FILENO;
    case StdStream::kError: return STDERR_FILENO;
  }
  return -1;
}

}  // namespace

bool IsTerminal(StdStream stream) { return ::isatty(DescriptorOf(stream)) == 1; }

void CatchInterrupt() {
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // The handler is reset after the first signal: a second Ctrl+C kills.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
}

bool InterruptRequested() { return g_interrupted.load(); }
void RequestInterrupt() { g_interrupted.store(true); }
void ClearInterrupt() { g_interrupted.store(false); }

}  // namespace brimlow::platform
