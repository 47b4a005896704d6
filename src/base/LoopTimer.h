#pragma once
// A timer on the main loop in the style of a component timer: an interval,
// an enabled switch and a tick handler. Main thread only.

#include <functional>

#include "base/MainLoop.h"

namespace brimlow {

class LoopTimer {
 public:
  // Disabled, interval 1000 ms, no handler.
  explicit LoopTimer(MainLoop& loop);
  ~LoopTimer();
  LoopTimer(const LoopTimer&) = delete;
  LoopTimer& operator=(const LoopTimer&) = delete;

  // Ticks run only while enabled with a positive interval and a handler.
  // Changing any of them restarts the interval from now.
  void SetEnabled(bool enabled);
  void SetInterval(int interval_ms);
  void SetOnTimer(std::function<void()> handler);

  bool Enabled() const { return enabled_; }
  int Interval() const { return interval_ms_; }

 private:
  void Restart();

  MainLoop& loop_;
  std::function<void()> on_timer_;
  int interval_ms_ = 1000;
  bool enabled_ = false;
  MainLoop::TimerId id_ = 0;
};

}  // namespace brimlow
