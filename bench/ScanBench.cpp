// Host build only: how fast the scan runs against the physical floor.
//
// Each topic benchmark measures, in the same iteration, (b) a raw walk of
// the topic's keys or files through the platform interfaces with no rule
// work, and (a) a scan of the topic through the whole pipeline (engine,
// worker, rule processor, findings handed to the main loop) with pacing
// off. The reported time is the scan's; the counters give items per second
// for both and their ratio, by wall clock and by process CPU time. The
// shared-DLL topic also gets the ratio to its walk plus one existence check
// per DLL, and the cost of one finding's hand-over is measured on its own.

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "BenchSystem.h"
#include "base/PortableMainLoop.h"
#include "base/WorkerThread.h"
#include "platform/Platform.h"
#include "platform/standin/ImageRegistry.h"
#include "scan/FigTopic.h"
#include "scan/RootKeys.h"
#include "scan/VazArovov.h"

namespace brimlow::bench {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double SecondsSince(Clock::time_point begin) {
  return std::chrono::duration<double>(Clock::now() - begin).count();
}

// The system of the whole run, installed as the current platform.
struct Installed {
  BenchSystem system{SizesFromEnvironment()};
  platform::ScopedPlatform scope{system.platform()};
};

Installed& System() {
  static Installed* installed = [] {
    auto* made = new Installed;
    std::fprintf(stderr, "bench system: %zu classes, %zu shared DLLs, %zu files; registry %.2f s, files %.2f s\n",
                 made->system.sizes().classes, made->system.sizes().shared_dlls, made->system.sizes().junk_files,
                 made->system.registry_build_seconds(), made->system.files_build_seconds());
    return made;
  }();
  return *installed;
}

struct TopicSpec {
  std::wstring rule;
  std::wstring location;  // "lsRegistry,..." or "lsDisk,..."
  bool check_values = false;
  bool include_subfolders = true;
  // Also measure a second floor: the walk plus one platform existence check
  // per value name (the rule cannot judge a value without one).
  bool stat_floor = false;
};

// --- (b) the floor: the same enumeration, no rules ---

std::int64_t WalkKey(platform::RegRoot root, const std::wstring& key, bool check_values, bool subfolders) {
  auto& reg = platform::Reg();
  std::vector<platform::RegValue> values;
  if (reg.Values(root, key, &values) != platform::Result::kOk) return 0;
  std::uint32_t subkeys = 0, value_count = 0;
  reg.CountChildren(root, key, &subkeys, &value_count);
  std::int64_t items = values.empty() ? 1 : check_values ? static_cast<std::int64_t>(values.size()) : 1;
  benchmark::DoNotOptimize(values.data());
  if (subkeys == 0 || !subfolders) return items;
  std::vector<std::wstring> names;
  reg.SubKeyNames(root, key, &names);
  for (const auto& name : names) items += WalkKey(root, key + L"\\" + name, check_values, subfolders);
  return items;
}

std::int64_t WalkFolder(const std::wstring& folder, bool subfolders) {
  std::vector<platform::FileEntry> entries;
  platform::Files().List(folder + L"\\*", &entries);
  std::int64_t items = static_cast<std::int64_t>(entries.size());
  if (!subfolders) return items;
  for (const auto& entry : entries) {
    if (entry.IsFolder() && !entry.IsReparsePoint()) items += WalkFolder(folder + L"\\" + entry.name, subfolders);
  }
  return items;
}

std::int64_t RawWalk(const TopicSpec& spec) {
  const scan::TopicLocation location = scan::ParseTopicLocation(spec.location);
  if (location.style == scan::lsDisk) return WalkFolder(location.location, spec.include_subfolders);
  const auto root = scan::RootKeyFromName(location.root);
  return root ? WalkKey(*root, location.path, spec.check_values, spec.include_subfolders) : 0;
}

// The walk of one key's values, each value's name asked of the file system.
std::int64_t WalkAndStat(const TopicSpec& spec) {
  const scan::TopicLocation location = scan::ParseTopicLocation(spec.location);
  const auto root = scan::RootKeyFromName(location.root);
  std::vector<platform::RegValue> values;
  if (!root || platform::Reg().Values(*root, location.path, &values) != platform::Result::kOk) return 0;
  std::int64_t present = 0;
  platform::FileEntry entry;
  for (const auto& value : values) present += platform::Files().Stat(value.name, &entry) == platform::Result::kOk;
  benchmark::DoNotOptimize(present);
  return static_cast<std::int64_t>(values.size());
}

// --- (a) the scan through the engine ---

struct ScanOutcome {
  scan::TFigSummary summary;
  std::int64_t findings = 0;
  std::int64_t samples = 0;  // progress events the display received
  bool finished = false;
};

ScanOutcome RunScan(const TopicSpec& spec) {
  PortableMainLoop loop;
  scan::TVazArovov engine(loop);
  engine.SetMinimumScanTime(0);
  scan::TFigTopic& topic = *engine.GetTopic(engine.AddTopic(L"Bench"));
  topic.SetValue(L"Category", spec.location.starts_with(L"lsDisk") ? L"tcCJunkFile" : L"tcARegFix");
  topic.SetValue(L"Rule", spec.rule);
  topic.SetValue(L"LOCATION_0", spec.location);
  topic.SetValue(L"CheckValues", spec.check_values ? L"1" : L"0");
  topic.SetValue(L"IncludeSubFolder", spec.include_subfolders ? L"1" : L"0");
  topic.SetEnabled(true);

  ScanOutcome outcome;
  bool ended = false;
  engine.OnFinished = [&](scan::TVazArovov& sender) {
    outcome.summary = sender.Summary();
    outcome.finished = ended = true;
  };
  engine.OnAbort = [&](scan::TVazArovov&) { ended = true; };
  engine.OnTopicMatched = [&](scan::TFigScanedItem&) { ++outcome.findings; };
  engine.OnTopicProcessing = [&](const std::wstring&, scan::TLocationStyle, const std::wstring&, const std::wstring&,
                                 const std::wstring&, const std::wstring&, std::int32_t) { ++outcome.samples; };
  engine.StartScan();
  loop.RunUntil([&] { return ended && !engine.IsRunning(); }, std::chrono::hours(1));
  return outcome;
}

void TopicBenchmark(benchmark::State& state, const TopicSpec& spec) {
  System();
  // Process CPU time as well as wall time: on a busy machine the wall
  // clock mostly measures the other programs.
  double scan_seconds = 0, walk_seconds = 0, scan_cpu = 0, walk_cpu = 0, stat_cpu = 0;
  std::int64_t walk_items = 0;
  ScanOutcome last;
  for (auto _ : state) {
    auto begin = Clock::now();
    std::clock_t cpu = std::clock();
    walk_items = RawWalk(spec);
    walk_seconds += SecondsSince(begin);
    walk_cpu += static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    if (spec.stat_floor) {
      cpu = std::clock();
      WalkAndStat(spec);
      stat_cpu += static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    }
    begin = Clock::now();
    cpu = std::clock();
    last = RunScan(spec);
    const double seconds = SecondsSince(begin);
    scan_cpu += static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    scan_seconds += seconds;
    state.SetIterationTime(seconds);
    if (!last.finished) state.SkipWithError("the scan did not finish");
  }
  const double n = static_cast<double>(state.iterations());
  const double items = static_cast<double>(last.summary.AllCount);
  state.counters["items"] = items;
  state.counters["walk_items"] = static_cast<double>(walk_items);
  state.counters["findings"] = static_cast<double>(last.findings);
  state.counters["finding_rate"] = items > 0 ? static_cast<double>(last.findings) / items : 0;
  state.counters["scan_items_per_s"] = items * n / scan_seconds;
  state.counters["walk_items_per_s"] = items * n / walk_seconds;
  state.counters["ratio"] = scan_seconds / walk_seconds;
  state.counters["cpu_ratio"] = scan_cpu / walk_cpu;
  if (spec.stat_floor) state.counters["stat_floor_cpu_ratio"] = scan_cpu / stat_cpu;
}

void BM_ActiveX(benchmark::State& state) {
  TopicBenchmark(state, {L"rsActiveX", std::wstring(L"lsRegistry,") + BenchSystem::kClsidLocation});
}

void BM_SharedDlls(benchmark::State& state) {
  TopicBenchmark(state,
                 {L"rsSharedDlls", std::wstring(L"lsRegistry,") + BenchSystem::kSharedDllsLocation, true, true, true});
}

void BM_JunkFiles(benchmark::State& state) {
  TopicBenchmark(state, {L"rsJunkFile,.tmp,.log", std::wstring(L"lsDisk,") + BenchSystem::kJunkFolder});
}

// --- one finding's hand-over to the main loop, alone ---

// Hands `count` calls to the main loop one after another, waiting for each,
// as the scan worker does for every finding.
class HandOverWorker : public WorkerThread {
 public:
  HandOverWorker(MainLoop& loop, std::int64_t count) : WorkerThread(loop), count_(count) {}
  ~HandOverWorker() override { TerminateAndWait(); }
  std::int64_t ran = 0;  // main thread

 protected:
  void Execute() override {
    for (std::int64_t i = 0; i < count_ && !Terminated(); ++i) Synchronize([this] { ++ran; });
  }

 private:
  const std::int64_t count_;
};

void BM_FindingHandOver(benchmark::State& state) {
  constexpr std::int64_t kCount = 20000;
  double seconds = 0, cpu_seconds = 0;
  for (auto _ : state) {
    PortableMainLoop loop;
    HandOverWorker worker(loop, kCount);
    const auto begin = Clock::now();
    const std::clock_t cpu = std::clock();
    worker.Start();
    worker.WaitFor();  // runs the loop meanwhile
    const double elapsed = SecondsSince(begin);
    cpu_seconds += static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    seconds += elapsed;
    state.SetIterationTime(elapsed);
    if (worker.ran != kCount) state.SkipWithError("hand-overs went missing");
  }
  const double n = static_cast<double>(state.iterations()) * kCount;
  state.counters["ns_per_handover"] = seconds * 1e9 / n;
  state.counters["cpu_ns_per_handover"] = cpu_seconds * 1e9 / n;
}

// --- the stand-in registry itself: filling it, and its file ---

void BM_RegistryBuild(benchmark::State& state) {
  const BenchSizes sizes = SizesFromEnvironment();
  for (auto _ : state) {
    platform::standin::ImageRegistry registry;
    BenchSystem::FillRegistry(registry, sizes);
  }
}

// The registry written to its file once (the end of a batch) and read back.
void BM_RegistryFile(benchmark::State& state) {
  const BenchSizes sizes = SizesFromEnvironment();
  const fs::path file = fs::temp_directory_path() / ("brimlow-bench-" + std::to_string(::getpid()) + ".reg");
  double save = 0, load = 0;
  for (auto _ : state) {
    std::error_code ec;
    fs::remove(file, ec);
    {
      platform::standin::ImageRegistry registry;
      registry.Load(file, nullptr);
      auto batch = std::make_unique<platform::standin::ImageRegistry::ScopedBatch>(registry);
      BenchSystem::FillRegistry(registry, sizes);
      const auto begin = Clock::now();
      batch.reset();
      save += SecondsSince(begin);
    }
    const auto begin = Clock::now();
    platform::standin::ImageRegistry registry;
    std::wstring error;
    if (!registry.Load(file, &error)) state.SkipWithError("the registry file does not load");
    const double seconds = SecondsSince(begin);
    load += seconds;
    state.SetIterationTime(seconds);
  }
  const double n = static_cast<double>(state.iterations());
  std::error_code ec;
  state.counters["file_MB"] = static_cast<double>(fs::file_size(file, ec)) / 1e6;
  state.counters["save_s"] = save / n;
  state.counters["load_s"] = load / n;
  fs::remove(file, ec);
}

}  // namespace
}  // namespace brimlow::bench

using namespace brimlow::bench;
BENCHMARK(BM_ActiveX)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SharedDlls)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JunkFiles)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindingHandOver)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegistryBuild)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegistryFile)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
