#include "base/WorkerThread.h"

#include <exception>

#include "base/Text.h"

namespace brimlow {

// --- main thread ---

WorkerThread::WorkerThread(MainLoop& loop) : loop_(loop) {}

WorkerThread::~WorkerThread() {
  // A FreeOnTerminate worker deletes itself on its own thread, after it
  // detached; everyone else is joined here.
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) TerminateAndWait();
}

void WorkerThread::Start() {
  if (started_.exchange(true, std::memory_order_acq_rel)) return;
  loop_.AttachWorker();
  // Held until the handle is stored: a short body may reach its end (and
  // detach that handle) before the constructor of std::thread returns.
  std::lock_guard<std::mutex> lock(end_mutex_);
  thread_ = std::thread([this] { ThreadMain(); });
}

bool WorkerThread::WaitFor() {
  if (Suspended() || free_on_terminate_) return false;
  auto ended = [this] {
    std::lock_guard<std::mutex> lock(end_mutex_);
    return ended_;
  };
  if (loop_.IsMainThread()) {
    // Keep running the loop so the worker's calls get through. A Quit
    // meant for the outer Run is handed on once the wait is over; after
    // shutdown the worker cannot block on the loop any more.
    bool quit_seen = false;
    while (!loop_.RunUntil(ended, MainLoop::kForever) && !loop_.IsShutDown()) quit_seen = true;
    if (quit_seen) loop_.Quit();
  }
  std::unique_lock<std::mutex> lock(end_mutex_);
  end_cv_.wait(lock, [this] { return ended_; });
  lock.unlock();
  if (thread_.joinable()) thread_.join();
  return true;
}

void WorkerThread::TerminateAndWait() {
  Terminate();
  WaitFor();
}

// --- worker thread ---

// The call reaches the loop through one pointer, which std::function keeps
// without allocating: a scan hands over one call per finding.
bool WorkerThread::Synchronize(const std::function<void()>& call) {
  struct Delivery {
    WorkerThread* self;
    const std::function<void()>* call;
    bool ran = false;
  } delivery{this, &call};
  const bool delivered = loop_.Synchronize([d = &delivery] {
    if (!d->self->ticket_.Valid()) return;
    (*d->call)();
    d->ran = true;
  });
  if (!delivered) Terminate();  // the loop is gone: nobody will listen again
  return delivery.ran;
}

void WorkerThread::ThreadMain() {
  RunBody();
  finished_.store(true, std::memory_order_release);
  if (on_terminate_) Synchronize([this] { on_terminate_(*this); });

  MainLoop& loop = loop_;
  if (free_on_terminate_) {
    {
      std::lock_guard<std::mutex> lock(end_mutex_);
      thread_.detach();
    }
    delete this;
  } else {
    std::lock_guard<std::mutex> lock(end_mutex_);
    ended_ = true;
    end_cv_.notify_all();
  }
  // Last touch of the loop: it may be destroyed as soon as this returns.
  loop.Wake();
  loop.DetachWorker();
}

// An exception escaping the body would end the process; it is kept as the
// worker's fatal error instead, and the end notification still runs.
void WorkerThread::RunBody() {
  try {
    Execute();
  } catch (const std::exception& e) {
    fatal_error_ = FromUtf8(e.what());
    if (fatal_error_.empty()) fatal_error_ = L"exception";
  } catch (...) {
    fatal_error_ = L"unknown exception";
  }
}

}  // namespace brimlow
