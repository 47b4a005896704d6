#include "scan/VazArovov.h"

namespace brimlow::scan {

TVazArovov::TVazArovov(MainLoop& loop) : FLoop(loop), FItemScanTimer(loop) {
  FItemScanTimer.SetInterval(kProgressInterval);
  FItemScanTimer.SetOnTimer([this] { ItemScanTimerTimer(); });
}

// The gate closes with the engine: a worker still winding down reports into
// nothing and frees itself.
TVazArovov::~TVazArovov() {
  Abort();
  FItemScanTimer.SetEnabled(false);
  FGate.Close();
}

void TVazArovov::StartScan() {
  Abort();
  FIsRunning = true;
  if (OnStarted) OnStarted(*this);

  auto* worker = new TFigScanThread(FLoop, *this, {OnTopicFinished, OnCategoryFinished, OnCategoryStarted},
                                    FMinimumScanTime);
  worker->OnFinished = [this](TFigScanThread& sender) { ScanFinished(sender); };
  worker->OnTopicMatched = [this](TFigScanedItem& item) { TopicMatched(item); };
  worker->OnScanTerminated = [this](TFigScanThread& sender) { ScanTerminated(sender); };
  worker->SetOnTerminate([this](WorkerThread& sender) { ThreadTerminated(sender); });
  worker->SetTicket(FGate.Issue());
  worker->SetFreeOnTerminate(true);
  FFigScanThread = worker;

  worker->Start();
  FItemScanTimer.SetEnabled(true);
  FStartTime = std::chrono::steady_clock::now();
}

void TVazArovov::Abort() {
  FItemScanTimer.SetEnabled(false);
  if (!FFigScanThread) return;
  TFigScanThread* worker = FFigScanThread;
  FFigScanThread = nullptr;
  worker->PauseFlag.store(false, std::memory_order_release);
  if (!worker->Terminated()) worker->Terminate();
}

void TVazArovov::Pause() {
  if (!FFigScanThread) return;
  FFigScanThread->PauseFlag.store(true, std::memory_order_release);
  FItemScanTimer.SetEnabled(false);
}

void TVazArovov::Resume() {
  if (!FFigScanThread) return;
  FFigScanThread->PauseFlag.store(false, std::memory_order_release);
  FItemScanTimer.SetEnabled(true);
}

bool TVazArovov::IsScanning() const {
  return FFigScanThread && !FFigScanThread->Finished() && !FFigScanThread->Terminated();
}

void TVazArovov::SetFigCure(CureTarget* Value) {
  FFigCure = Value;
  if (FFigCure) {
    FFigCure->SetOnTopicCured(
        [this](const std::wstring& name, TTopicStatus status) { TopicCured(name, status); });
  }
}

void TVazArovov::TakeResults(TFigScanThread& sender) {
  const auto elapsed = std::chrono::steady_clock::now() - FStartTime;
  FProcessedTime = static_cast<std::int32_t>(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count());
  FSummary = sender.Summary();
}

void TVazArovov::ScanTerminated(TFigScanThread& sender) {
  TakeResults(sender);
  // The worker frees itself once it has ended; a worker that stopped on its
  // own (not through Abort) must not stay referenced past that.
  if (FFigScanThread == &sender) {
    FFigScanThread = nullptr;
    FItemScanTimer.SetEnabled(false);
  }
  if (OnAbort) OnAbort(*this);
}

void TVazArovov::ScanFinished(TFigScanThread& sender) {
  TakeResults(sender);
  if (FFigScanThread == &sender) FFigScanThread = nullptr;
  if (OnFinished) OnFinished(*this);
}

void TVazArovov::TopicMatched(TFigScanedItem& aMatchedItem) {
  if (OnTopicMatched) OnTopicMatched(aMatchedItem);
  if (FFigCure) FFigCure->AddMatchedItem(aMatchedItem);
}

void TVazArovov::ThreadTerminated(WorkerThread& sender) {
  if (FFigScanThread == &sender) FFigScanThread = nullptr;
  FIsRunning = false;
}

void TVazArovov::ItemScanTimerTimer() {
  TFigScanThread* worker = FFigScanThread;
  if (!worker) return;
  if (worker->Terminated() || worker->PauseFlag.load(std::memory_order_acquire)) {
    FItemScanTimer.SetEnabled(false);
    return;
  }
  if (!worker->ItemScaned() || !OnTopicProcessing || !IsScanning()) return;
  if (worker->Finished() || worker->Suspended()) {
    FItemScanTimer.SetEnabled(false);
    return;
  }
  TFigScanedItem item;
  worker->GetScannedItem(item);
  OnTopicProcessing(item.TopicName, item.LocationStyle, item.ScanedRoot, item.ScanedPath, item.ScanedSection,
                    item.ScanedName, item.CurrentPer);
}

void TVazArovov::TopicCured(const std::wstring& aTopicName, TTopicStatus aStatus) {
  if (TFigTopic* topic = GetTopicByName(aTopicName)) topic->SetStatus(aStatus);
}

}  // namespace brimlow::scan
