#include "base/LoopTimer.h"

#include <utility>

namespace brimlow {

LoopTimer::LoopTimer(MainLoop& loop) : loop_(loop) {}

LoopTimer::~LoopTimer() { loop_.StopTimer(id_); }

void LoopTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void LoopTimer::SetInterval(int interval_ms) {
  if (interval_ms == interval_ms_) return;
  interval_ms_ = interval_ms;
  Restart();
}

void LoopTimer::SetOnTimer(std::function<void()> handler) {
  on_timer_ = std::move(handler);
  Restart();
}

void LoopTimer::Restart() {
  loop_.StopTimer(id_);
  id_ = 0;
  if (!enabled_ || interval_ms_ <= 0 || !on_timer_) return;
  // The handler is copied at each tick, so a tick may replace it, disable
  // the timer or destroy it.
  id_ = loop_.StartTimer(interval_ms_, [this] {
    std::function<void()> handler = on_timer_;
    if (handler) handler();
  });
}

}  // namespace brimlow
