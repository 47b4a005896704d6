#pragma once
// A worker thread that reports to a main loop.
//
// Created suspended: the thread only exists after Start(). Terminate() is a
// request the body polls through Terminated(). When the body returns, the
// end-of-thread notification (OnTerminate) runs on the main loop while the
// worker waits; then a worker set to FreeOnTerminate deletes itself.
//
// Every call the worker hands to the main loop (Synchronize, and the end
// notification) is checked against the worker's ReportTicket on the main
// thread and dropped when the ticket is stale: an owner that abandons the
// worker (abort, destruction) closes or renews its ReportGate and hears
// nothing from it again. A worker whose loop has shut down gets false from
// Synchronize and Terminated() turns true.
//
// Ownership: an owner may touch a FreeOnTerminate worker only until its
// end notification has run (or until the owner's ticket went stale); after
// that the object may be gone.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "base/MainLoop.h"
#include "base/ReportGate.h"

namespace brimlow {

class WorkerThread {
 public:
  using Notify = std::function<void(WorkerThread& sender)>;

  // --- main thread ---

  // Creates the worker suspended; `loop` must outlive it.
  explicit WorkerThread(MainLoop& loop);
  // A worker still running is asked to terminate and waited for. Derived
  // classes whose Execute uses their own members must do that in their own
  // destructor (TerminateAndWait), before those members are gone.
  virtual ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Settings that must be made before Start.
  void SetTicket(ReportTicket ticket) { ticket_ = std::move(ticket); }
  void SetOnTerminate(Notify handler) { on_terminate_ = std::move(handler); }
  void SetFreeOnTerminate(bool free) { free_on_terminate_ = free; }

  // Runs Execute on a new thread. Only once; later calls do nothing.
  void Start();

  // Waits until the thread has ended, its end notification included. On the
  // main thread the loop keeps running calls meanwhile, so a worker blocked
  // in Synchronize cannot deadlock the wait. Returns false (without waiting)
  // for a worker never started or set to FreeOnTerminate.
  bool WaitFor();
  void TerminateAndWait();

  // --- any thread ---

  void Terminate() { terminated_.store(true, std::memory_order_release); }
  bool Terminated() const { return terminated_.load(std::memory_order_acquire); }
  bool Suspended() const { return !started_.load(std::memory_order_acquire); }
  // True once Execute has returned.
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  // What escaped Execute, if anything ("" when it returned normally). Read
  // after Finished().
  const std::wstring& FatalError() const { return fatal_error_; }

 protected:
  // --- worker thread ---

  // The body. Poll Terminated() and return soon after it turns true.
  virtual void Execute() = 0;

  // Runs `call` on the main thread while this thread waits. Returns true
  // when it ran; false when it was dropped (stale ticket, loop shut down).
  bool Synchronize(const std::function<void()>& call);

  MainLoop& Loop() const { return loop_; }
  const ReportTicket& Ticket() const { return ticket_; }

 private:
  void ThreadMain();
  void RunBody();

  MainLoop& loop_;
  ReportTicket ticket_;
  Notify on_terminate_;
  bool free_on_terminate_ = false;
  std::thread thread_;
  std::atomic<bool> started_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::wstring fatal_error_;  // written by the worker before finished_

  std::mutex end_mutex_;
  std::condition_variable end_cv_;
  bool ended_ = false;  // guarded by end_mutex_: notification done
};

}  // namespace brimlow
