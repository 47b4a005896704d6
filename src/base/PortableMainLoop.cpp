#include "base/PortableMainLoop.h"

#include <algorithm>
#include <utility>

namespace brimlow {

PortableMainLoop::PortableMainLoop() : main_thread_(std::this_thread::get_id()) {}

PortableMainLoop::~PortableMainLoop() {
  Shutdown();
  WaitForWorkers();
}

// --- any thread ---

bool PortableMainLoop::Post(Call call) { return Enqueue(Entry{std::move(call), nullptr}); }

// The caller's state lives on its stack and the loop is told without its
// lock held, so a hand-over costs no allocation beyond the call's own and
// no thread wakes only to wait for the lock.
bool PortableMainLoop::Synchronize(Call call) {
  if (IsMainThread()) {
    if (IsShutDown()) return false;
    call();
    return true;
  }
  SyncState sync;
  if (!Enqueue(Entry{std::move(call), &sync})) return false;
  std::unique_lock<std::mutex> lock(mutex_);
  sync_done_.wait(lock, [&] { return sync.done.load(std::memory_order_relaxed); });
  return sync.ran;
}

void PortableMainLoop::Quit() {
  std::lock_guard<std::mutex> lock(mutex_);
  quit_ = true;
  wake_.notify_all();
}

void PortableMainLoop::Wake() {
  std::lock_guard<std::mutex> lock(mutex_);
  woken_ = true;
  wake_.notify_all();
}

void PortableMainLoop::Shutdown() {
  std::deque<Entry> dropped;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    shut_down_ = true;
    dropped.swap(queue_);
    timers_.clear();
    for (Entry& entry : dropped) {
      if (entry.sync) Finish(*entry.sync, false);
      entry.sync = nullptr;
    }
  }
  wake_.notify_all();
  sync_done_.notify_all();
  // The dropped calls are destroyed here, outside the lock: their captures
  // may own objects whose destructors post again.
}

bool PortableMainLoop::IsShutDown() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return shut_down_;
}

bool PortableMainLoop::IsMainThread() const { return std::this_thread::get_id() == main_thread_; }

bool PortableMainLoop::HasPending() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return !queue_.empty();
}

bool PortableMainLoop::Enqueue(Entry entry) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (shut_down_) return false;
    queue_.push_back(std::move(entry));
  }
  wake_.notify_all();
  return true;
}

// --- main thread ---

MainLoop::TimerId PortableMainLoop::StartTimer(int interval_ms, Call tick) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (interval_ms <= 0 || shut_down_) return 0;
  const TimerId id = next_timer_++;
  timers_[id] = Timer{interval_ms, Clock::now() + std::chrono::milliseconds(interval_ms),
                      std::make_shared<Call>(std::move(tick))};
  return id;
}

void PortableMainLoop::StopTimer(TimerId id) {
  std::lock_guard<std::mutex> lock(mutex_);
  timers_.erase(id);
}

void PortableMainLoop::Run() { RunUntil([] { return false; }, kForever); }

bool PortableMainLoop::RunUntil(const std::function<bool()>& done,
                                std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  while (!done()) {
    if (!RunOne(deadline)) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (quit_) {
        quit_ = false;
        break;
      }
      if (shut_down_ || Clock::now() >= deadline) break;
    }
  }
  return done();
}

int PortableMainLoop::ProcessPending() {
  std::size_t queued;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queued = queue_.size();
  }
  int ran = 0;
  std::unique_lock<std::mutex> lock(mutex_);
  // Only what was queued on entry: calls that queue further calls cannot
  // keep this busy for ever.
  for (; queued > 0 && RunQueued(lock); --queued) ++ran;
  const Clock::time_point now = Clock::now();
  while (RunDueTimer(lock, now)) ++ran;
  return ran;
}

bool PortableMainLoop::RunOne(Clock::time_point deadline) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (quit_ || shut_down_) return false;
    if (RunQueued(lock)) return true;
    if (woken_) {
      woken_ = false;
      return true;
    }
    const Clock::time_point now = Clock::now();
    if (RunDueTimer(lock, now)) return true;
    if (now >= deadline) return false;
    wake_.wait_until(lock, NextDue(deadline));
  }
}

// Runs the oldest queued call with the lock released. Returns false when
// the queue is empty.
bool PortableMainLoop::RunQueued(std::unique_lock<std::mutex>& lock) {
  if (queue_.empty() || shut_down_) return false;
  Entry entry = std::move(queue_.front());
  queue_.pop_front();
  lock.unlock();
  entry.call();
  entry.call = nullptr;  // captures die before the caller is released
  lock.lock();
  if (!entry.sync) return true;
  Finish(*entry.sync, true);
  lock.unlock();
  sync_done_.notify_all();
  lock.lock();
  return true;
}

// Runs the earliest timer due at `now`, with the lock released. Each timer
// ticks at most once per call, so a slow tick cannot starve the queue.
bool PortableMainLoop::RunDueTimer(std::unique_lock<std::mutex>& lock, Clock::time_point now) {
  if (shut_down_) return false;
  auto due = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->second.due <= now && (due == timers_.end() || it->second.due < due->second.due)) due = it;
  }
  if (due == timers_.end()) return false;
  const TimerId id = due->first;
  std::shared_ptr<Call> tick = due->second.tick;
  // Pushed past `now` so a ProcessPending pass ticks it only once.
  due->second.due = Clock::time_point::max();
  lock.unlock();
  (*tick)();
  lock.lock();
  auto again = timers_.find(id);
  if (again != timers_.end()) {
    again->second.due = Clock::now() + std::chrono::milliseconds(again->second.interval_ms);
  }
  return true;
}

PortableMainLoop::Clock::time_point PortableMainLoop::NextDue(Clock::time_point limit) const {
  Clock::time_point next = limit;
  for (const auto& [id, timer] : timers_) next = std::min(next, timer.due);
  return next;
}

// Called with mutex_ held; the caller notifies sync_done_.
void PortableMainLoop::Finish(SyncState& sync, bool ran) {
  sync.ran = ran;
  sync.done.store(true, std::memory_order_relaxed);
}

}  // namespace brimlow
