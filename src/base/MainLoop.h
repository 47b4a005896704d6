#pragma once
// The main thread as an explicit event loop. Engines run their handlers and
// timers here; workers hand calls to it and wait for them (Synchronize).
//
// The GUI drives one with the Win32 message loop; the command-line tool and
// the tests use PortableMainLoop. The "main thread" is the thread that
// created the loop.
//
// Shutdown: once Shutdown() has been called, queued calls are dropped, new
// ones are refused and every worker blocked in Synchronize is released with
// false. A loop waits, when it is destroyed, for the workers attached to it
// (WorkerThread attaches itself while it runs), so a worker never calls
// into a destroyed loop.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace brimlow {

class WorkerThread;

class MainLoop {
 public:
  using Call = std::function<void()>;
  using TimerId = std::uint64_t;
  // Long enough to mean "no time limit".
  static constexpr std::chrono::milliseconds kForever = std::chrono::hours(24 * 365);

  virtual ~MainLoop() = default;
  MainLoop(const MainLoop&) = delete;
  MainLoop& operator=(const MainLoop&) = delete;

  // --- any thread ---

  // Queues `call` to run on the main thread after the calls queued before
  // it. Returns true when queued; false (call dropped) after Shutdown.
  virtual bool Post(Call call) = 0;

  // Runs `call` on the main thread and returns once it has run. On the main
  // thread itself the call runs at once. Returns true when the call ran;
  // false when the loop was shut down before it could run (the call is
  // dropped and the caller released).
  virtual bool Synchronize(Call call) = 0;

  // Asks Run / RunUntil on the main thread to return after the current call.
  virtual void Quit() = 0;

  // Makes a waiting RunUntil check its condition again: for conditions
  // changed by another thread without a call to the loop.
  virtual void Wake() = 0;

  // Drops the queued calls, releases blocked Synchronize callers and
  // refuses further calls. Timers stop ticking. Cannot be undone.
  virtual void Shutdown() = 0;
  virtual bool IsShutDown() const = 0;

  // True on the thread that runs the loop.
  virtual bool IsMainThread() const = 0;

  // --- main thread ---

  // Calls `tick` every `interval_ms` milliseconds (measured from the end of
  // the previous tick) until StopTimer. Returns the timer's id; 0 (no
  // timer) when interval_ms is not positive or the loop is shut down.
  virtual TimerId StartTimer(int interval_ms, Call tick) = 0;
  // Stops the timer; unknown ids are ignored. Safe inside its own tick.
  virtual void StopTimer(TimerId id) = 0;

  // Runs calls and timers until Quit (or Shutdown).
  virtual void Run() = 0;

  // Runs calls and timers until `done` answers true (checked before
  // waiting and after every call or tick), Quit, Shutdown, or `timeout`.
  // Returns `done()`'s last answer. Nests: a call may itself run RunUntil.
  virtual bool RunUntil(const std::function<bool()>& done,
                        std::chrono::milliseconds timeout) = 0;

  // Runs the calls queued now and the timers due now, without waiting.
  // Returns how many ran.
  virtual int ProcessPending() = 0;

 protected:
  MainLoop() = default;

  // Blocks until every attached worker has detached. Implementations call
  // it in their destructor after Shutdown.
  void WaitForWorkers();

 private:
  friend class WorkerThread;
  void AttachWorker();
  void DetachWorker();

  std::mutex workers_mutex_;
  std::condition_variable workers_gone_;
  int workers_ = 0;  // guarded by workers_mutex_
};

}  // namespace brimlow
