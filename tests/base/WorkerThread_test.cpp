#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "base/PortableMainLoop.h"
#include "base/ReportGate.h"
#include "base/WorkerThread.h"

namespace brimlow {
namespace {

constexpr auto kLimit = std::chrono::milliseconds(10000);

void WaitUntilQueued(const PortableMainLoop& loop) {
  while (!loop.HasPending()) std::this_thread::yield();
}

// A worker whose body is a function; it can report to the main loop and
// tells `deleted` when it is destroyed.
class TestWorker : public WorkerThread {
 public:
  using Body = std::function<void(TestWorker&)>;
  TestWorker(MainLoop& loop, Body body, std::atomic<bool>* deleted = nullptr)
      : WorkerThread(loop), body_(std::move(body)), deleted_(deleted) {}
  ~TestWorker() override {
    TerminateAndWait();
    if (deleted_) *deleted_ = true;
  }
  bool Report(const std::function<void()>& call) { return Synchronize(call); }

 protected:
  void Execute() override { body_(*this); }

 private:
  Body body_;
  std::atomic<bool>* deleted_;
};

TEST(WorkerThread, IsCreatedSuspendedAndRunsOnceStarted) {
  PortableMainLoop loop;
  std::atomic<bool> ran{false};
  TestWorker worker(loop, [&](TestWorker&) { ran = true; });
  EXPECT_TRUE(worker.Suspended());
  EXPECT_FALSE(worker.WaitFor()) << "nothing to wait for before Start";
  EXPECT_FALSE(ran);
  worker.Start();
  EXPECT_TRUE(worker.WaitFor());
  EXPECT_TRUE(ran);
  EXPECT_TRUE(worker.Finished());
  EXPECT_FALSE(worker.Suspended());
}

TEST(WorkerThread, TerminateIsARequestTheBodyPollsAndTheEndNoticeRunsOnTheMainLoop) {
  PortableMainLoop loop;
  std::vector<std::string> log;
  TestWorker worker(loop, [&](TestWorker& self) {
    self.Report([&] { log.push_back("running"); });
    while (!self.Terminated()) std::this_thread::yield();
    self.Report([&] { log.push_back("stopping"); });
  });
  bool notice_on_main = false;
  worker.SetOnTerminate([&](WorkerThread& sender) {
    notice_on_main = loop.IsMainThread() && &sender == &worker && sender.Finished();
    log.push_back("ended");
  });
  worker.Start();
  ASSERT_TRUE(loop.RunUntil([&] { return !log.empty(); }, kLimit));
  worker.Terminate();
  EXPECT_TRUE(worker.WaitFor());
  EXPECT_EQ(log, (std::vector<std::string>{"running", "stopping", "ended"}));
  EXPECT_TRUE(notice_on_main);
}

// Waiting for a worker on the main thread while the worker reports
// synchronously: the wait keeps the loop running, so neither side blocks
// the other.
TEST(WorkerThread, WaitForOnTheMainThreadLetsTheWorkersReportsThrough) {
  PortableMainLoop loop;
  std::vector<int> reports;
  TestWorker worker(loop, [&](TestWorker& self) {
    for (int i = 0; i < 100; ++i) self.Report([&, i] { reports.push_back(i); });
  });
  worker.Start();
  EXPECT_TRUE(worker.WaitFor());
  ASSERT_EQ(reports.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(reports[i], i);
}

TEST(WorkerThread, WaitForHandsOnAQuitMeantForTheOuterRun) {
  PortableMainLoop loop;
  TestWorker worker(loop, [&](TestWorker& self) {
    self.Report([&] { loop.Quit(); });
    self.Report([] {});
  });
  worker.Start();
  EXPECT_TRUE(worker.WaitFor());
  loop.Run();  // returns at once because the quit was kept
}

TEST(WorkerThread, AFreeOnTerminateWorkerDeletesItselfAfterItsEndNotice) {
  PortableMainLoop loop;
  std::atomic<bool> deleted{false};
  bool deleted_before_notice = true;
  auto* worker = new TestWorker(loop, [](TestWorker&) {}, &deleted);
  worker->SetFreeOnTerminate(true);
  worker->SetOnTerminate([&](WorkerThread&) { deleted_before_notice = deleted; });
  worker->Start();
  EXPECT_TRUE(loop.RunUntil([&] { return deleted.load(); }, kLimit));
  EXPECT_FALSE(deleted_before_notice);
}

TEST(WorkerThread, AnExceptionInTheBodyIsKeptAndTheEndNoticeStillRuns) {
  PortableMainLoop loop;
  bool noticed = false;
  TestWorker worker(loop, [](TestWorker&) { throw std::runtime_error("bad value"); });
  worker.SetOnTerminate([&](WorkerThread&) { noticed = true; });
  worker.Start();
  EXPECT_TRUE(worker.WaitFor());
  EXPECT_TRUE(noticed);
  EXPECT_EQ(worker.FatalError(), L"bad value");
}

// The pattern an engine follows: one gate, a new ticket per run, the gate
// closed when the engine goes away. Workers free themselves on end.
class FakeEngine {
 public:
  explicit FakeEngine(MainLoop& loop) : loop_(loop) {}
  ~FakeEngine() { Abort(); }

  // Starts a run whose worker reports `name` once `go` is set, then waits
  // for termination and reports "<name> aborted".
  void Start(const std::string& name, std::atomic<bool>* go, std::atomic<bool>* deleted) {
    Abort();
    auto* worker = new TestWorker(
        loop_,
        [this, name, go](TestWorker& self) {
          while (!*go) std::this_thread::yield();
          self.Report([this, name] { log.push_back(name); });
          while (!self.Terminated()) std::this_thread::yield();
          self.Report([this, name] { log.push_back(name + " aborted"); });
        },
        deleted);
    worker->SetTicket(gate_.Issue());
    worker->SetFreeOnTerminate(true);
    worker->SetOnTerminate([this, name](WorkerThread&) {
      log.push_back(name + " ended");
      worker_ = nullptr;  // it frees itself right after this notice
    });
    worker_ = worker;
    worker->Start();
  }
  // Stops listening to the running worker and asks it to end.
  void Abort() {
    if (!worker_) return;
    worker_->Terminate();
    worker_ = nullptr;
    gate_.Close();
  }

  std::vector<std::string> log;

 private:
  MainLoop& loop_;
  ReportGate gate_;
  WorkerThread* worker_ = nullptr;
};

TEST(WorkerThread, AnEngineDestroyedWhileItsWorkerReportsHearsNothingMore) {
  PortableMainLoop loop;
  std::atomic<bool> go{true};
  std::atomic<bool> deleted{false};
  std::vector<std::string> log_after;
  {
    FakeEngine engine(loop);
    engine.Start("run", &go, &deleted);
    WaitUntilQueued(loop);  // the worker is blocked handing over "run"
    log_after = engine.log;
  }  // destroyed with the report still queued
  // The queued report, the aborted report and the end notice all target the
  // destroyed engine: dropped (ASan would see a use after free otherwise).
  EXPECT_TRUE(loop.RunUntil([&] { return deleted.load(); }, kLimit));
  EXPECT_TRUE(log_after.empty());
}

TEST(WorkerThread, ALateReportOfAnAbortedRunNeverReachesTheNextRun) {
  PortableMainLoop loop;
  FakeEngine engine(loop);
  std::atomic<bool> go_first{true}, go_second{false};
  std::atomic<bool> first_deleted{false}, second_deleted{false};
  engine.Start("first", &go_first, &first_deleted);
  WaitUntilQueued(loop);              // "first" is waiting to be delivered
  engine.Start("second", &go_second, &second_deleted);  // aborts the first run
  go_second = true;
  EXPECT_TRUE(loop.RunUntil([&] { return first_deleted.load() && !engine.log.empty(); }, kLimit));
  engine.Abort();
  EXPECT_TRUE(loop.RunUntil([&] { return second_deleted.load(); }, kLimit));
  // The second run's own reports after Abort are dropped too.
  EXPECT_EQ(engine.log, (std::vector<std::string>{"second"}));
}

TEST(WorkerThread, ReportsOfTheCurrentRunArriveInOrder) {
  PortableMainLoop loop;
  std::atomic<bool> go{true}, deleted{false};
  ReportGate gate;
  std::vector<std::string> log;
  auto* worker = new TestWorker(loop, [&](TestWorker& self) {
    self.Report([&] { log.push_back("a"); });
    self.Report([&] { log.push_back("b"); });
  }, &deleted);
  worker->SetTicket(gate.Issue());
  worker->SetFreeOnTerminate(true);
  worker->SetOnTerminate([&](WorkerThread&) { log.push_back("end"); });
  worker->Start();
  EXPECT_TRUE(loop.RunUntil([&] { return deleted.load(); }, kLimit));
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "end"}));
}

TEST(WorkerThread, ALoopShuttingDownReleasesAReportingWorkerAndWaitsForIt) {
  std::atomic<bool> released_with{true};
  std::atomic<bool> deleted{false};
  {
    PortableMainLoop loop;
    auto* worker = new TestWorker(loop, [&](TestWorker& self) {
      released_with = self.Report([] { ADD_FAILURE() << "ran after shutdown"; });
      // A worker that keeps going until told to stop: the failed hand-over
      // told it.
      while (!self.Terminated()) std::this_thread::yield();
    }, &deleted);
    worker->SetFreeOnTerminate(true);
    worker->Start();
    WaitUntilQueued(loop);
  }  // the loop shuts down and waits for the worker
  EXPECT_FALSE(released_with);
  EXPECT_TRUE(deleted);
}

TEST(ReportGate, TicketsGoStaleOnReissueAndClose) {
  ReportTicket unbound;
  EXPECT_TRUE(unbound.Valid());
  ReportTicket first, second;
  {
    ReportGate gate;
    first = gate.Issue();
    EXPECT_TRUE(first.Valid());
    second = gate.Issue();
    EXPECT_FALSE(first.Valid());
    EXPECT_TRUE(second.Valid());
    gate.Close();
    EXPECT_FALSE(second.Valid());
    ReportTicket third = gate.Issue();
    EXPECT_TRUE(third.Valid());
    second = third;
  }
  EXPECT_FALSE(second.Valid()) << "the gate's destruction closes it";
}

}  // namespace
}  // namespace brimlow
