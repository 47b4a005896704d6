#include "base/MainLoop.h"

namespace brimlow {

void MainLoop::AttachWorker() {
  std::lock_guard<std::mutex> lock(workers_mutex_);
  ++workers_;
}

void MainLoop::DetachWorker() {
  // Notify under the lock: the waiter may destroy the loop as soon as it
  // sees zero.
  std::lock_guard<std::mutex> lock(workers_mutex_);
  --workers_;
  workers_gone_.notify_all();
}

void MainLoop::WaitForWorkers() {
  std::unique_lock<std::mutex> lock(workers_mutex_);
  workers_gone_.wait(lock, [this] { return workers_ == 0; });
}

}  // namespace brimlow
