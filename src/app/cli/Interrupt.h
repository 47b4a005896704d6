#pragma once
// Ctrl+C for a running scan or cure: the console's interrupt is noted by
// the platform and polled here on the main loop, so that the engine is
// stopped through its own Abort and still writes its reports and backup.

#include <functional>

#include "base/MainLoop.h"

namespace brimlow::cli {

// The exit code of a scan or cure stopped by the user (128 + SIGINT).
constexpr int kInterruptedExitCode = 130;

class InterruptWatch {
 public:
  // Main thread. Catches the console's interrupt from now on and calls
  // `abort` once, on the main loop, when it comes.
  InterruptWatch(MainLoop& loop, std::function<void()> abort);
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // true once `abort` was called.
  bool Fired() const { return fired_; }

 private:
  void Poll();

  MainLoop& loop_;
  std::function<void()> abort_;
  MainLoop::TimerId timer_ = 0;
  bool fired_ = false;
};

}  // namespace brimlow::cli
