#pragma once
// A main loop made of a queue, a condition variable and a timer table, for
// the command-line tool and the tests (the GUI has its own).

#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <condition_variable>
#include <thread>

#include "base/MainLoop.h"

namespace brimlow {

class PortableMainLoop final : public MainLoop {
 public:
  // The calling thread becomes the main thread.
  PortableMainLoop();
  // Shuts down and waits for the attached workers to end.
  ~PortableMainLoop() override;

  bool Post(Call call) override;
  bool Synchronize(Call call) override;
  void Quit() override;
  void Wake() override;
  void Shutdown() override;
  bool IsShutDown() const override;
  bool IsMainThread() const override;

  TimerId StartTimer(int interval_ms, Call tick) override;
  void StopTimer(TimerId id) override;
  void Run() override;
  bool RunUntil(const std::function<bool()>& done,
                std::chrono::milliseconds timeout) override;
  int ProcessPending() override;

  // Any thread: true while a posted or synchronized call waits to run.
  bool HasPending() const;

 private:
  using Clock = std::chrono::steady_clock;

  // A Synchronize caller waits on its own entry's state, which lives on
  // its stack: nothing touches it once `done` is set.
  struct SyncState {
    bool ran = false;               // written before done
    std::atomic<bool> done{false};  // set under mutex_
  };
  struct Entry {
    Call call;
    SyncState* sync = nullptr;  // null for posted calls
  };
  struct Timer {
    int interval_ms = 0;
    Clock::time_point due;
    std::shared_ptr<Call> tick;
  };

  bool Enqueue(Entry entry);
  // Runs one queued call or one due timer, waiting until `deadline` for
  // one. Returns false when nothing ran (deadline, quit or shutdown).
  bool RunOne(Clock::time_point deadline);
  bool RunQueued(std::unique_lock<std::mutex>& lock);
  bool RunDueTimer(std::unique_lock<std::mutex>& lock, Clock::time_point now);
  Clock::time_point NextDue(Clock::time_point limit) const;
  static void Finish(SyncState& sync, bool ran);

  const std::thread::id main_thread_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;        // main thread: work, quit, shutdown
  std::condition_variable sync_done_;   // workers: their call ran or was dropped
  std::deque<Entry> queue_;             // guarded by mutex_
  std::map<TimerId, Timer> timers_;     // guarded by mutex_
  TimerId next_timer_ = 1;              // guarded by mutex_
  bool quit_ = false;                   // guarded by mutex_
  bool woken_ = false;                  // guarded by mutex_
  bool shut_down_ = false;              // guarded by mutex_
};

}  // namespace brimlow
