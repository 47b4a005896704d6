#pragma once
// One scan on a worker thread: walks the enabled topics in list order, hands
// every registry value, key, file and listed registry item to a fresh rule
// processor, counts what it saw, publishes the item it is working on for the
// progress display, and reports findings, topic ends, category changes and
// the end of the scan to the main loop, waiting while each report runs.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "base/WorkerThread.h"
#include "platform/Registry.h"
#include "scan/FigTopic.h"
#include "scan/FigTypes.h"

namespace brimlow::scan {

class FileProbe;
class RegistryProbe;
class TFigTopicList;

using TOnTopicMatched = std::function<void(TFigScanedItem& aMatchedItem)>;
using TOnTopicFinished = std::function<void(const TFigTopic& aTopic)>;
using TOnCategoryEvent = std::function<void(TTopicCategory aCategory)>;

// The owner's handlers that the worker delivers directly.
struct ScanHandlers {
  TOnTopicFinished OnTopicFinished;
  TOnCategoryEvent OnCategoryFinished;
  TOnCategoryEvent OnCategoryStarted;
};

class TFigScanThread : public WorkerThread {
 public:
  using Notify = std::function<void(TFigScanThread& sender)>;

  // --- main thread ---

  // Copies the topics (lines and status) and the handlers; created
  // suspended. Each enabled topic takes at least minimum_scan_ms divided by
  // the number of topics.
  TFigScanThread(MainLoop& loop, const TFigTopicList& topics, ScanHandlers handlers,
                 int minimum_scan_ms);
  ~TFigScanThread() override;

  // Set before Start.
  Notify OnFinished;
  Notify OnScanTerminated;
  TOnTopicMatched OnTopicMatched;

  // Copies the item most recently handed to the rules; nothing while the
  // thread has not started.
  void GetScannedItem(TFigScanedItem& item);
  bool ItemScaned() const { return FItemScaned.load(std::memory_order_acquire); }
  // The counters; read them on the main thread inside a report (the worker
  // is waiting then) or after the thread has ended.
  const TFigSummary& Summary() const { return FSummary; }

  // Written by the main thread, polled by the worker.
  std::atomic<bool> PauseFlag{false};

 protected:
  // --- worker thread ---
  void Execute() override;

 private:
  struct TopicParams;
  enum class Walk { kDone, kStopped };

  bool StopCheck();
  void WaitWhilePaused();
  void RunTopics();
  Walk ScanTopic(const TopicParams& topic);
  Walk ScanRegistryLocation(const TopicParams& topic, const std::wstring& value);
  Walk ScanKey(const TopicParams& topic, const std::wstring& root_name, int root, const std::wstring& key,
               int depth, int& counter);
  Walk ScanKeyItems(const TopicParams& topic, const std::wstring& root_name, platform::RegRoot root,
                    const std::wstring& key, const std::vector<platform::RegValue>& values, bool counted,
                    std::uint32_t subkeys, std::uint32_t value_count, int& counter);
  Walk ScanDiskLocation(const TopicParams& topic, const std::wstring& location, int depth, int counter,
                        bool listed_plain = false);
  Walk ScanRegistryItems(const TopicParams& topic, const std::wstring& value);
  Walk ProcessItem(const TopicParams& topic, TLocationStyle style, const std::wstring& root,
                   const std::wstring& path, const std::wstring& section, const std::wstring& name,
                   int counter, std::int64_t size);
  void SetScannedItem(const TopicParams& topic, TLocationStyle style, const std::wstring& root,
                      const std::wstring& path, const std::wstring& section, const std::wstring& name,
                      std::int32_t current_per);
  void SetMatchedItem(const TopicParams& topic, TLocationStyle style, const std::wstring& root,
                      const std::wstring& path, const std::wstring& section, const std::wstring& name,
                      std::int32_t current_per, const TFigResultItem& result);
  int CountEnabledInCategory(TTopicCategory category) const;

  void DoCategoryStarted();
  void DoCategoryFinished();
  void DoTopicFinished();
  void DoTopicMatched();
  void DoFinished();
  void DoScanTerminated();

  std::vector<TFigTopic> FTopicList;
  ScanHandlers FHandlers;
  int FMinimumScanMs;

  std::mutex FLock;                // guards FFigScannedItem
  TFigScanedItem FFigScannedItem;  // guarded by FLock
  TFigScanedItem FFigMatchedItem;  // worker; read by DoTopicMatched while the worker waits
  std::atomic<bool> FItemScaned{false};
  std::int32_t FCurrentPercent = 0;
  TFigSummary FSummary;
  std::int32_t FSid = 0;
  std::size_t FCurrentTopic = 0;
  TTopicCategory FCurrentCategory = tcUnknow;
  std::unique_ptr<FileProbe> FProbe;
  std::unique_ptr<RegistryProbe> FRegistryProbe;
};

// Minimum milliseconds per topic: the total divided by the number of
// topics, rounded to the nearest whole millisecond with halves to even; 0
// for an empty list.
int MinimumTimePerTopic(int minimum_scan_ms, int topic_count);

}  // namespace brimlow::scan
