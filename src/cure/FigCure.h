#pragma once
// The cure engine: keeps the findings of the last scan, lets them be checked
// and unchecked, and cures the checked ones on a worker thread -- backing up
// every registry change first, deleting keys, values and files, starting the
// sweep helper, and merging the values optimisation topics want.
// Main thread only.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/MainLoop.h"
#include "base/ReportGate.h"
#include "scan/FigTypes.h"
#include "scan/VazArovov.h"

namespace brimlow::cure {

class TFigCureThread;

using TFigOnCuredEvent = std::function<void(scan::TFigScanedItem& aItem, scan::TFigCureStatus aStatus,
                                            int aCurrentIndex, int aMax)>;
using TOnTopicCuredEvent = scan::TOnTopicCured;
using TOnExternalFunctionCallBack = std::function<void(void* aSender, const std::wstring& aFunctionName)>;

class TFigCure : public scan::CureTarget {
 public:
  using Notify = std::function<void(void* sender)>;
  static constexpr int kDefaultCureDuration = 12000;

  explicit TFigCure(MainLoop& loop);
  ~TFigCure() override;
  TFigCure(const TFigCure&) = delete;
  TFigCure& operator=(const TFigCure&) = delete;

  // The list of findings.
  void AddMatchedItem(const scan::TFigScanedItem& aItem) override;
  void Clear();
  // An empty record outside the list.
  scan::TFigScanedItem GetMatchedItem(int aIndex) const;
  void SetChecked(int aIndex, bool aChecked);
  int GetCheckedItem() const;
  int ItemCount() const { return static_cast<int>(FItems.size()); }

  // Appends the cure's line to "info.rec", creates its backup file and
  // starts the worker. false (with the reason in *error) when the index or
  // the backup file cannot be written; nothing has changed then.
  bool StartCure(std::wstring* error = nullptr);
  // Asks the worker to stop before its next item; it still writes its
  // backup and reports OnAbort and OnFinished.
  void Abort();
  // A cure cannot be paused: accepted and without effect.
  void Pause() {}
  void Resume() {}
  bool IsRunning() const { return FIsRunning; }

  // The folder of the backups and of "info.rec" (no trailing backslash).
  const std::wstring& BackupPath() const { return FBackupPath; }
  void SetBackupPath(const std::wstring& path) { FBackupPath = path; }
  // Milliseconds the whole cure takes at least (divided into one slot per
  // item); 0 switches pacing off.
  int CureDuration() const { return FCureDuration; }
  void SetCureDuration(int ms) { FCureDuration = ms < 0 ? 0 : ms; }
  // The last cure's backup file and index line.
  const std::wstring& LastBackupFile() const { return FLastBackupFile; }
  const std::wstring& LastIndexLine() const { return FLastIndexLine; }

  void SetOnTopicCured(TOnTopicCuredEvent handler) override { OnTopicCured = std::move(handler); }

  TFigOnCuredEvent OnCured;
  Notify OnFinished;
  Notify OnAbort;
  Notify OnStarted;
  TOnExternalFunctionCallBack OnExternalFunctionCallBack;
  TOnTopicCuredEvent OnTopicCured;

 private:
  MainLoop& FLoop;
  ReportGate FGate;
  std::vector<scan::TFigScanedItem> FItems;
  std::wstring FBackupPath;
  TFigCureThread* FFigCureThread = nullptr;  // not owned: frees itself when it ends
  int FCureDuration = kDefaultCureDuration;
  bool FIsRunning = false;
  std::wstring FLastBackupFile;
  std::wstring FLastIndexLine;
};

}  // namespace brimlow::cure
