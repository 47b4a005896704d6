#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "base/LoopTimer.h"
#include "base/PortableMainLoop.h"

namespace brimlow {
namespace {

using namespace std::chrono_literals;

// A generous limit: these waits end by events, the limit only stops a hang.
constexpr auto kLimit = std::chrono::milliseconds(10000);

// Spins (yielding) until the worker's call is queued: the worker is then
// blocked in Synchronize.
void WaitUntilQueued(const PortableMainLoop& loop) {
  while (!loop.HasPending()) std::this_thread::yield();
}

TEST(MainLoop, PostedCallsRunInOrderOnTheMainThread) {
  PortableMainLoop loop;
  std::vector<int> order;
  std::vector<bool> on_main;
  std::thread poster([&] {
    for (int i = 0; i < 3; ++i) {
      loop.Post([&, i] {
        order.push_back(i);
        on_main.push_back(loop.IsMainThread());
      });
    }
  });
  EXPECT_TRUE(loop.RunUntil([&] { return order.size() == 3; }, kLimit));
  poster.join();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(on_main, (std::vector<bool>{true, true, true}));
}

TEST(MainLoop, SynchronizeBlocksTheWorkerUntilTheMainLoopRanTheCall) {
  PortableMainLoop loop;
  int value = 0;  // written on the main thread, read by the worker afterwards
  std::atomic<bool> returned{false};
  bool ran = false;
  int seen = -1;
  std::thread worker([&] {
    ran = loop.Synchronize([&] { value = 42; });
    seen = value;
    returned = true;
  });
  WaitUntilQueued(loop);
  EXPECT_FALSE(returned);
  EXPECT_EQ(loop.ProcessPending(), 1);
  worker.join();
  EXPECT_TRUE(ran);
  EXPECT_EQ(seen, 42);
}

TEST(MainLoop, SynchronizeOnTheMainThreadRunsAtOnce) {
  PortableMainLoop loop;
  bool ran = false;
  EXPECT_TRUE(loop.Synchronize([&] { ran = true; }));
  EXPECT_TRUE(ran);
  EXPECT_FALSE(loop.HasPending());
}

TEST(MainLoop, ShutdownReleasesAWorkerBlockedInSynchronize) {
  PortableMainLoop loop;
  bool call_ran = false;
  bool answer = true;
  std::thread worker([&] { answer = loop.Synchronize([&] { call_ran = true; }); });
  WaitUntilQueued(loop);
  loop.Shutdown();
  worker.join();
  EXPECT_FALSE(answer);
  EXPECT_FALSE(call_ran);
}

TEST(MainLoop, AfterShutdownEverythingIsRefused) {
  PortableMainLoop loop;
  loop.Shutdown();
  bool ran = false;
  EXPECT_FALSE(loop.Post([&] { ran = true; }));
  EXPECT_FALSE(loop.Synchronize([&] { ran = true; }));
  std::thread worker([&] { EXPECT_FALSE(loop.Synchronize([&] { ran = true; })); });
  worker.join();
  EXPECT_EQ(loop.StartTimer(10, [&] { ran = true; }), 0u);
  EXPECT_EQ(loop.ProcessPending(), 0);
  EXPECT_FALSE(ran);
}

TEST(MainLoop, QuitFromAnotherThreadEndsRun) {
  PortableMainLoop loop;
  std::thread quitter([&] { loop.Post([&] { loop.Quit(); }); });
  loop.Run();  // returns, or the test hangs
  quitter.join();
}

TEST(MainLoop, RunUntilGivesUpAtTheTimeout) {
  PortableMainLoop loop;
  EXPECT_FALSE(loop.RunUntil([] { return false; }, 20ms));
}

TEST(MainLoop, ProcessPendingRunsOnlyWhatWasQueuedOnEntry) {
  PortableMainLoop loop;
  int runs = 0;
  loop.Post([&] {
    ++runs;
    loop.Post([&] { ++runs; });
  });
  EXPECT_EQ(loop.ProcessPending(), 1);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(loop.ProcessPending(), 1);
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(loop.ProcessPending(), 0);
}

TEST(MainLoop, TimersTickUntilStopped) {
  PortableMainLoop loop;
  int fast = 0;
  int stopped_by_itself = 0;
  MainLoop::TimerId self = 0;
  loop.StartTimer(2, [&] { ++fast; });
  self = loop.StartTimer(1, [&] {
    if (++stopped_by_itself == 2) loop.StopTimer(self);
  });
  EXPECT_TRUE(loop.RunUntil([&] { return fast >= 5; }, kLimit));
  EXPECT_EQ(stopped_by_itself, 2);
  EXPECT_EQ(loop.StartTimer(0, [] {}), 0u);
  EXPECT_EQ(loop.StartTimer(-5, [] {}), 0u);
  loop.StopTimer(12345);  // unknown ids are ignored
}

TEST(MainLoop, LoopTimerTicksOnlyWhileEnabled) {
  PortableMainLoop loop;
  LoopTimer timer(loop);
  int ticks = 0;
  timer.SetInterval(1);
  timer.SetOnTimer([&] {
    if (++ticks == 3) timer.SetEnabled(false);
  });
  EXPECT_FALSE(loop.RunUntil([&] { return ticks > 0; }, 20ms)) << "disabled at creation";
  timer.SetEnabled(true);
  EXPECT_TRUE(loop.RunUntil([&] { return ticks == 3; }, kLimit));
  EXPECT_FALSE(timer.Enabled());
  loop.RunUntil([] { return false; }, 20ms);
  EXPECT_EQ(ticks, 3);
}

TEST(MainLoop, ADestroyedLoopTimerNeverTicks) {
  PortableMainLoop loop;
  int ticks = 0;
  {
    LoopTimer timer(loop);
    timer.SetInterval(1);
    timer.SetOnTimer([&] { ++ticks; });
    timer.SetEnabled(true);
  }
  loop.RunUntil([] { return false; }, 20ms);
  EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace brimlow
