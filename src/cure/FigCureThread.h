#pragma once
// One cure on a worker thread. The worker paces the cure and writes the
// files; every change to the registry or the disk, and every report, runs on
// the main loop while the worker waits.

#include <memory>
#include <string>
#include <vector>

#include "base/WorkerThread.h"
#include "cure/BackupWriter.h"
#include "cure/FigCure.h"

namespace brimlow::cure {

class TFigCureThread : public WorkerThread {
 public:
  // --- main thread ---
  // Takes its own copy of the items; `backup` has been begun already.
  TFigCureThread(MainLoop& loop, std::vector<scan::TFigScanedItem> items, std::unique_ptr<BackupWriter> backup,
                 int cure_duration_ms);
  ~TFigCureThread() override;

  // Copies of the engine's events, set before Start.
  TFigOnCuredEvent OnCured;
  TOnTopicCuredEvent OnTopicCured;
  TFigCure::Notify OnFinished;
  TFigCure::Notify OnAbort;
  TOnExternalFunctionCallBack OnExternalFunctionCallBack;

 protected:
  void Execute() override;

 private:
  // --- main thread, while the worker waits ---
  void CureCurrentItem();
  scan::TFigCureStatus CureRegistryItem(const scan::TFigScanedItem& item);
  scan::TFigCureStatus CureDiskItem(const scan::TFigScanedItem& item);
  scan::TFigCureStatus StartSweepHelper(const scan::TFigScanedItem& item);

  // --- worker thread ---
  void CureAll();
  void ReportAbort();
  void MergeWantedValues();

  std::vector<scan::TFigScanedItem> FItems;
  std::unique_ptr<BackupWriter> FBackup;
  TRegExporter FRegCureExporter;
  bool FHasWantedValues = false;
  int FCureDuration;
  int FCurrentIndex = 0;
  scan::TFigCureStatus FCurrentItemStatus = scan::csIgnored;
  std::wstring FRegCureFileName;
  bool FIECookieClear = false;
  bool FIECacheClear = false;
  bool FIEHistoryClear = false;
};

// The per-item time slot: the duration divided by the item count, rounded
// to the nearest millisecond; 0 for no items.
int CureSlot(int cure_duration_ms, int item_count);

// The path is a regular file reached through no link or junction: the only
// kind of junk the cure deletes.
bool IsPlainFile(const std::wstring& path);

}  // namespace brimlow::cure
