#include "app/cli/Interrupt.h"

#include "platform/Console.h"

namespace brimlow::cli {
namespace {

// Short enough to feel immediate, long enough to cost nothing.
constexpr int kPollInterval = 50;

}  // namespace

InterruptWatch::InterruptWatch(MainLoop& loop, std::function<void()> abort)
    : loop_(loop), abort_(std::move(abort)) {
  platform::CatchInterrupt();
  timer_ = loop_.StartTimer(kPollInterval, [this] { Poll(); });
}

InterruptWatch::~InterruptWatch() { loop_.StopTimer(timer_); }

void InterruptWatch::Poll() {
  if (fired_ || !platform::InterruptRequested()) return;
  // The note is taken: a later command in the same process starts clean.
  platform::ClearInterrupt();
  fired_ = true;
  if (abort_) abort_();
}

}  // namespace brimlow::cli
