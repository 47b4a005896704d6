#pragma once
// The scan engine component: owns the topic list, starts, pauses, resumes
// and stops the scan worker, turns the worker's current item into a
// timer-driven progress event, keeps the counters and elapsed time of the
// last scan, and passes every finding to its owner and to the cure engine.
// Main thread only.

#include <chrono>
#include <functional>
#include <string>

#include "base/LoopTimer.h"
#include "base/MainLoop.h"
#include "base/ReportGate.h"
#include "scan/FigScanThread.h"
#include "scan/TopicList.h"

namespace brimlow::scan {

using TOnTopicProcessing =
    std::function<void(const std::wstring& aTopicName, TLocationStyle aLocationStyle, const std::wstring& aRoot,
                       const std::wstring& aPath, const std::wstring& aSection, const std::wstring& aName,
                       std::int32_t aCurrentPer)>;
using TOnTopicCured = std::function<void(const std::wstring& aTopicName, TTopicStatus aStatus)>;

// What the scan engine needs of the cure engine: it receives every finding
// and tells which topics it cured.
class CureTarget {
 public:
  virtual ~CureTarget() = default;
  virtual void AddMatchedItem(const TFigScanedItem& aItem) = 0;
  virtual void SetOnTopicCured(TOnTopicCured handler) = 0;
};

class TVazArovov : public TFigTopicList {
 public:
  using Notify = std::function<void(TVazArovov& sender)>;

  // The default minimum duration of a scan: each enabled topic takes at
  // least this divided by the number of topics.
  static constexpr int kDefaultMinimumScanTime = 20000;
  static constexpr int kProgressInterval = 150;

  explicit TVazArovov(MainLoop& loop);
  ~TVazArovov() override;

  void StartScan();
  // Asks a running worker to stop; it reports OnAbort later, once.
  void Abort();
  void Pause();
  void Resume();

  // A worker is referenced, has not finished and was not asked to stop.
  bool IsScanning() const;
  // From StartScan until the worker has ended.
  bool IsRunning() const { return FIsRunning; }
  void SetIsRunning(bool running) { FIsRunning = running; }
  const TFigSummary& Summary() const { return FSummary; }
  std::int32_t ProcessedTime() const { return FProcessedTime; }
  void SetProcessedTime(std::int32_t seconds) { FProcessedTime = seconds; }
  CureTarget* FigCure() const { return FFigCure; }
  void SetFigCure(CureTarget* Value);
  // Milliseconds; 0 switches pacing off.
  int MinimumScanTime() const { return FMinimumScanTime; }
  void SetMinimumScanTime(int ms) { FMinimumScanTime = ms < 0 ? 0 : ms; }

  Notify OnStarted;
  Notify OnFinished;
  Notify OnAbort;
  TOnTopicProcessing OnTopicProcessing;
  TOnTopicMatched OnTopicMatched;
  // Handed to the worker when a scan starts; changes during a scan do not
  // reach the running worker.
  TOnTopicFinished OnTopicFinished;
  TOnCategoryEvent OnCategoryFinished;
  TOnCategoryEvent OnCategoryStarted;

 private:
  void ScanTerminated(TFigScanThread& sender);
  void ScanFinished(TFigScanThread& sender);
  void TopicMatched(TFigScanedItem& aMatchedItem);
  void ThreadTerminated(WorkerThread& sender);
  void ItemScanTimerTimer();
  void TopicCured(const std::wstring& aTopicName, TTopicStatus aStatus);
  void TakeResults(TFigScanThread& sender);

  MainLoop& FLoop;
  LoopTimer FItemScanTimer;
  ReportGate FGate;  // a new ticket per scan: a late report of an aborted run never reaches the next
  TFigScanThread* FFigScanThread = nullptr;  // not owned: frees itself when it ends
  std::chrono::steady_clock::time_point FStartTime;
  std::int32_t FProcessedTime = 0;
  TFigSummary FSummary;
  CureTarget* FFigCure = nullptr;
  bool FIsRunning = false;
  int FMinimumScanTime = kDefaultMinimumScanTime;
};

}  // namespace brimlow::scan
