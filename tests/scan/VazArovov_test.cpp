#include "scan/VazArovov.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "base/PortableMainLoop.h"
#include "platform/Platform.h"
#include "support/ScratchSystem.h"

namespace brimlow::scan {
namespace {

using std::chrono::milliseconds;

// Records every event of a scan as one line each.
struct Recorder {
  std::vector<std::string> events;
  std::vector<TFigScanedItem> findings;
  int finished = 0;
  int aborted = 0;
  int processing = 0;

  void Bind(TVazArovov& engine) {
    engine.OnCategoryStarted = [this](TTopicCategory c) { events.push_back("start " + ToUtf8(NameOf(c))); };
    engine.OnCategoryFinished = [this](TTopicCategory c) { events.push_back("end " + ToUtf8(NameOf(c))); };
    engine.OnTopicFinished = [this](const TFigTopic& t) { events.push_back("topic " + ToUtf8(t.Name())); };
    engine.OnTopicMatched = [this](TFigScanedItem& item) {
      events.push_back("match " + std::to_string(item.SID) + " " + ToUtf8(item.ScanedSection + item.ScanedName));
      findings.push_back(item);
    };
    engine.OnFinished = [this](TVazArovov&) {
      events.push_back("finished");
      ++finished;
    };
    engine.OnAbort = [this](TVazArovov&) {
      events.push_back("aborted");
      ++aborted;
    };
    engine.OnTopicProcessing = [this](const std::wstring&, TLocationStyle, const std::wstring&, const std::wstring&,
                                      const std::wstring&, const std::wstring&, std::int32_t) { ++processing; };
  }
};

class VazArovovTest : public ::testing::Test {
 protected:
  VazArovovTest() {
    auto& reg = platform::Reg();
    const std::wstring hist = scratch_.RegPath() + L"\\hist";
    for (const wchar_t* name : {L"v1", L"v2", L"v3"}) reg.SetValue(scratch_.RegRoot(), hist, platform::MakeStringValue(name, L"x"));
    junk_ = scratch_.Folder() + L"junk\\";
    platform::Files().CreateFolder(junk_ + L"sub");
    platform::Files().WriteFileAtomic(junk_ + L"a.tmp", Bytes(7, 'a'));
    platform::Files().WriteFileAtomic(junk_ + L"sub\\c.tmp", Bytes(3, 'c'));
    engine_.SetMinimumScanTime(0);
  }

  TFigTopic& Add(const std::wstring& name, const std::wstring& category, const std::wstring& rule,
                 const std::wstring& location, bool enabled) {
    TFigTopic& topic = *engine_.GetTopic(engine_.AddTopic(name));
    topic.SetValue(L"Category", category);
    topic.SetValue(L"Rule", rule);
    topic.SetValue(L"LOCATION_0", location);
    topic.SetEnabled(enabled);
    return topic;
  }

  // History (3 values, all matching), a disabled topic of the same
  // category, and junk files (a.tmp matches; sub is an item, not entered).
  void AddFixtureTopics() {
    TFigTopic& hist = Add(L"History", L"tcARegFix", L"rsRegistryHistory",
                          L"lsRegistry,HKEY_CURRENT_USER\\" + scratch_.RegPath() + L"\\hist", true);
    hist.SetValue(L"CheckValues", L"1");
    hist.SetValue(L"WorkingPercent", L"20");
    Add(L"Off", L"tcARegFix", L"rsRegistryHistory", L"lsRegistry,HKEY_CURRENT_USER\\Software", false);
    TFigTopic& junk = Add(L"Junk", L"tcCJunkFile", L"rsJunkFile,.tmp", L"lsDisk," + junk_, true);
    junk.SetValue(L"WorkingPercent", L"5");
    junk.SetValue(L"LEVEL", L"2");
  }

  bool RunUntilIdle(milliseconds timeout = milliseconds(20000)) {
    return loop_.RunUntil([&] { return !engine_.IsRunning(); }, timeout);
  }

  testing::ScratchSystem scratch_;
  PortableMainLoop loop_;
  TVazArovov engine_{loop_};
  std::wstring junk_;
};

TEST_F(VazArovovTest, ReportsEventsInOrderWithSequenceNumbersAndCounters) {
  AddFixtureTopics();
  Recorder rec;
  rec.Bind(engine_);
  engine_.StartScan();
  ASSERT_TRUE(RunUntilIdle());

  const std::vector<std::string> expected = {
      "start tcARegFix", "match 0 v1x", "match 1 v2x", "match 2 v3x", "topic History", "end tcARegFix",
      "start tcCJunkFile", "match 3 @" + ToUtf8(junk_) + "a.tmp", "topic Junk", "end tcCJunkFile", "finished"};
  // The junk finding's section is the location as written.
  std::vector<std::string> got = rec.events;
  for (auto& line : got) {
    if (line.rfind("match 3 ", 0) == 0) line = "match 3 @" + line.substr(8);
  }
  EXPECT_EQ(got, expected);

  ASSERT_EQ(rec.findings.size(), 4u);
  EXPECT_EQ(rec.findings[0].CurrentPer, 1);
  EXPECT_EQ(rec.findings[2].CurrentPer, 3);
  EXPECT_EQ(rec.findings[3].CurrentPer, 21);
  EXPECT_FALSE(rec.findings[0].Checked);
  EXPECT_TRUE(rec.findings[3].Checked);
  EXPECT_EQ(rec.findings[3].FigResult.Level, 2);
  EXPECT_TRUE(rec.findings[3].FigResult.MatchFlag);
  EXPECT_EQ(rec.findings[3].RuleParams, L"rsJunkFile\r\n.tmp\r\n");
  EXPECT_TRUE(rec.findings[0].ValueCheck);

  const TFigSummary& s = engine_.Summary();
  EXPECT_EQ(s.AllCount, 5);
  EXPECT_EQ(s.RegistryItemCount, 3);
  EXPECT_EQ(s.FileCount, 2);
  EXPECT_EQ(s.FileSizeCount, 7);
  EXPECT_EQ(s.MatchedAllCount, 4);
  EXPECT_EQ(s.MatchedRegItemCount, 3);
  EXPECT_EQ(s.MatchedFileCount, 1);
  EXPECT_EQ(s.MatchedFileSizeCount, 7);
}

TEST_F(VazArovovTest, EmptyListAndRulelessTopicsFinishCleanly) {
  Recorder rec;
  rec.Bind(engine_);
  engine_.StartScan();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(rec.events, (std::vector<std::string>{"finished"}));

  Add(L"NoRule", L"tcARegFix", L"", L"lsRegistry,HKEY_CURRENT_USER\\" + scratch_.RegPath() + L"\\hist", true);
  rec.events.clear();
  engine_.StartScan();
  ASSERT_TRUE(RunUntilIdle());
  // With one topic the category is announced through the change of
  // category, not at the start.
  EXPECT_EQ(rec.events, (std::vector<std::string>{"start tcARegFix", "topic NoRule", "end tcARegFix", "finished"}));
  EXPECT_EQ(engine_.Summary().AllCount, 1);
}

TEST_F(VazArovovTest, PauseResumeAndAbortWithoutWorkerDoNothing) {
  engine_.Pause();
  engine_.Resume();
  engine_.Abort();
  EXPECT_FALSE(engine_.IsRunning());
  EXPECT_FALSE(engine_.IsScanning());
}

TEST_F(VazArovovTest, AbortReportsOnceWithCountersSoFar) {
  AddFixtureTopics();
  Recorder rec;
  rec.Bind(engine_);
  engine_.OnTopicMatched = [&](TFigScanedItem&) {
    ++rec.processing;
    engine_.Abort();
  };
  engine_.StartScan();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(rec.aborted, 1);
  EXPECT_EQ(rec.finished, 0);
  EXPECT_EQ(engine_.Summary().MatchedAllCount, 1);
  EXPECT_EQ(engine_.Summary().AllCount, 1);
}

TEST_F(VazArovovTest, PausedScanSendsNoProgressUntilResumed) {
  AddFixtureTopics();
  Recorder rec;
  rec.Bind(engine_);
  bool paused_once = false;
  engine_.OnTopicMatched = [&](TFigScanedItem&) {
    if (paused_once) return;
    paused_once = true;
    engine_.Pause();
  };
  engine_.StartScan();
  loop_.RunUntil([&] { return paused_once; }, milliseconds(5000));
  const int before = rec.processing;
  loop_.RunUntil([] { return false; }, milliseconds(400));
  EXPECT_EQ(rec.processing, before);
  EXPECT_TRUE(engine_.IsRunning());
  engine_.Resume();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(rec.finished, 1);
}

TEST_F(VazArovovTest, LateReportOfAnAbortedScanNeverReachesTheNextOne) {
  AddFixtureTopics();
  engine_.SetMinimumScanTime(600);
  Recorder rec;
  rec.Bind(engine_);
  engine_.StartScan();
  engine_.Abort();
  engine_.StartScan();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(rec.aborted, 0);
  EXPECT_EQ(rec.finished, 1);
  EXPECT_EQ(engine_.Summary().MatchedAllCount, 4);
}

TEST_F(VazArovovTest, EngineDestroyedWhileScanningHearsNothing) {
  AddFixtureTopics();
  int reports = 0;
  auto engine = std::make_unique<TVazArovov>(loop_);
  engine->SetMinimumScanTime(300);
  for (int i = 0; i < engine_.TopicCount(); ++i) engine->GetTopic(engine->AddTopic(L"x"))->Assign(*engine_.GetTopic(i));
  engine->OnTopicMatched = [&](TFigScanedItem&) { ++reports; };
  engine->OnFinished = [&](TVazArovov&) { ++reports; };
  engine->OnAbort = [&](TVazArovov&) { ++reports; };
  engine->StartScan();
  engine.reset();
  loop_.RunUntil([] { return false; }, milliseconds(500));
  EXPECT_EQ(reports, 0);
}

TEST_F(VazArovovTest, PacingMakesEachEnabledTopicTakeItsShare) {
  AddFixtureTopics();  // three topics, two enabled
  engine_.SetMinimumScanTime(900);
  const auto start = std::chrono::steady_clock::now();
  engine_.StartScan();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_GE(std::chrono::steady_clock::now() - start, milliseconds(600));
  EXPECT_EQ(TVazArovov::kDefaultMinimumScanTime, TVazArovov(loop_).MinimumScanTime());
}

TEST(MinimumTimePerTopicTest, RoundsHalvesToEven) {
  struct {
    int total, topics, want;
  } cases[] = {{20000, 16, 1250}, {20000, 3, 6667}, {10, 4, 2}, {14, 4, 4}, {20000, 0, 0}, {0, 5, 0}};
  for (const auto& c : cases) EXPECT_EQ(MinimumTimePerTopic(c.total, c.topics), c.want) << c.total << "/" << c.topics;
}

}  // namespace
}  // namespace brimlow::scan
