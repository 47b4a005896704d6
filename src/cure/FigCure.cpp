#include "cure/FigCure.h"

#include "cure/BackupNames.h"
#include "cure/FigCureThread.h"
#include "framework/utils/Paths.h"

namespace brimlow::cure {

TFigCure::TFigCure(MainLoop& loop) : FLoop(loop) {}

// A cure still winding down finishes its work (its backup is written) but
// reports into nothing.
TFigCure::~TFigCure() {
  FFigCureThread = nullptr;
  FGate.Close();
}

void TFigCure::AddMatchedItem(const scan::TFigScanedItem& aItem) { FItems.push_back(aItem); }

void TFigCure::Clear() { FItems.clear(); }

scan::TFigScanedItem TFigCure::GetMatchedItem(int aIndex) const {
  if (aIndex < 0 || aIndex >= ItemCount()) return {};
  return FItems[static_cast<std::size_t>(aIndex)];
}

void TFigCure::SetChecked(int aIndex, bool aChecked) {
  if (aIndex < 0 || aIndex >= ItemCount()) return;
  FItems[static_cast<std::size_t>(aIndex)].Checked = aChecked;
}

int TFigCure::GetCheckedItem() const {
  int count = 0;
  for (const auto& item : FItems) count += item.Checked ? 1 : 0;
  return count;
}

bool TFigCure::StartCure(std::wstring* error) {
  Abort();
  std::wstring reason;
  const std::tm now = LocalNow();
  const std::wstring file = UniqueBackupFileName(FBackupPath, BackupStamp(now));
  const std::wstring line = IndexTime(now) + L"," + std::to_wstring(ItemCount()) + L"," + file;
  // The backup file exists, header first, before the index names it and
  // before anything is changed.
  auto backup = std::make_unique<BackupWriter>();
  if (!backup->Begin(CombinePath(FBackupPath, file), &reason) || !AppendIndexLine(FBackupPath, line, &reason)) {
    if (error) *error = reason;
    return false;
  }
  FLastBackupFile = CombinePath(FBackupPath, file);
  FLastIndexLine = line;

  if (OnStarted) OnStarted(this);
  FIsRunning = true;
  auto* worker = new TFigCureThread(FLoop, FItems, std::move(backup), FCureDuration);
  worker->OnCured = OnCured;
  worker->OnFinished = OnFinished;
  worker->OnAbort = OnAbort;
  worker->OnTopicCured = OnTopicCured;
  worker->OnExternalFunctionCallBack = OnExternalFunctionCallBack;
  worker->SetOnTerminate([this](WorkerThread&) {
    FFigCureThread = nullptr;
    FIsRunning = false;
  });
  worker->SetTicket(FGate.Issue());
  worker->SetFreeOnTerminate(true);
  FFigCureThread = worker;
  worker->Start();
  return true;
}

void TFigCure::Abort() {
  if (!FFigCureThread) return;
  TFigCureThread* worker = FFigCureThread;
  FFigCureThread = nullptr;
  if (!worker->Terminated()) worker->Terminate();
}

}  // namespace brimlow::cure
