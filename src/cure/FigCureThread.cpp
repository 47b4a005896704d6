#include "cure/FigCureThread.h"

#include <chrono>
#include <cmath>
#include <thread>

#include "framework/utils/Paths.h"
#include "framework/utils/Programs.h"
#include "framework/utils/TextUtils.h"
#include "framework/utils/Windows.h"
#include "platform/Platform.h"
#include "scan/RootKeys.h"

namespace brimlow::cure {
namespace {

using scan::TFigCureStatus;
using scan::TFigScanedItem;
using Clock = std::chrono::steady_clock;

constexpr auto kPacingStep = std::chrono::milliseconds(40);

}  // namespace

int CureSlot(int cure_duration_ms, int item_count) {
  if (item_count <= 0 || cure_duration_ms <= 0) return 0;
  return static_cast<int>(std::lround(static_cast<double>(cure_duration_ms) / item_count));
}

bool IsPlainFile(const std::wstring& path) {
  platform::FileEntry entry;
  if (platform::Files().Stat(path, &entry) != platform::Result::kOk) return false;
  if (entry.IsFolder() || entry.IsReparsePoint()) return false;
  // Every folder on the way must be a real folder too.
  for (std::wstring folder = ExtractFilePath(path); folder.size() > 3;) {
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    if (platform::Files().Stat(folder, &entry) != platform::Result::kOk || entry.IsReparsePoint()) return false;
    const std::wstring parent = ExtractFilePath(folder);
    if (parent.size() >= folder.size()) break;
    folder = parent;
  }
  return true;
}

TFigCureThread::TFigCureThread(MainLoop& loop, std::vector<TFigScanedItem> items,
                               std::unique_ptr<BackupWriter> backup, int cure_duration_ms)
    : WorkerThread(loop), FItems(std::move(items)), FBackup(std::move(backup)), FCureDuration(cure_duration_ms) {}

TFigCureThread::~TFigCureThread() { TerminateAndWait(); }

void TFigCureThread::Execute() {
  FIECookieClear = FIECacheClear = FIEHistoryClear = false;
  FRegCureFileName = MakeUniqueFileName(GetTempDir(), L"regcure", L"reg");
  bool completed = false;
  try {
    CureAll();
    completed = !Terminated();
  } catch (...) {
    // An error while curing an item (a refused elevation) ends the cure;
    // the backup is complete up to here and nothing more is merged.
  }
  if (completed) MergeWantedValues();
  platform::Files().DeleteFile(FRegCureFileName);
  if (OnFinished) Synchronize([this] { OnFinished(this); });
}

void TFigCureThread::CureAll() {
  const auto slot = std::chrono::milliseconds(CureSlot(FCureDuration, static_cast<int>(FItems.size())));
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    const auto begin = Clock::now();
    if (Terminated()) return ReportAbort();
    FCurrentIndex = static_cast<int>(i);
    bool failed = false;
    bool aborted = false;
    Synchronize([&] {
      // The user may abort while this call waits for the main thread: the
      // item is then left as it is.
      if (Terminated()) {
        aborted = true;
        return;
      }
      try {
        CureCurrentItem();
      } catch (...) {
        failed = true;
      }
    });
    if (aborted) return ReportAbort();
    if (failed) throw std::runtime_error("cure item failed");
    while (Clock::now() - begin < slot) std::this_thread::sleep_for(kPacingStep);
  }
  if (OnExternalFunctionCallBack) {
    if (FIECookieClear) OnExternalFunctionCallBack(nullptr, L"IECookieClear");
    if (FIEHistoryClear) OnExternalFunctionCallBack(nullptr, L"IEHistoryClear");
    if (FIECacheClear) OnExternalFunctionCallBack(nullptr, L"IECacheClear");
  }
}

void TFigCureThread::ReportAbort() {
  if (OnAbort) Synchronize([this] { OnAbort(this); });
}

// Without wanted values there is nothing to merge, and the registry
// editor need not be started.
void TFigCureThread::MergeWantedValues() {
  if (!FHasWantedValues) return;
  if (FRegCureExporter.SaveToFile(FRegCureFileName)) ImportRegFile(FRegCureFileName);
}

void TFigCureThread::CureCurrentItem() {
  if (FCurrentIndex < 0 || FCurrentIndex >= static_cast<int>(FItems.size())) return;
  TFigScanedItem item = FItems[static_cast<std::size_t>(FCurrentIndex)];
  if (!item.Checked) return;
  switch (item.LocationStyle) {
    case scan::lsRegistry:
    case scan::lsRegistryItem: FCurrentItemStatus = CureRegistryItem(item); break;
    case scan::lsDisk: FCurrentItemStatus = CureDiskItem(item); break;
    default: FCurrentItemStatus = scan::csIgnored; break;
  }
  if (OnCured) OnCured(item, FCurrentItemStatus, FCurrentIndex, static_cast<int>(FItems.size()));
  if (OnTopicCured) OnTopicCured(item.TopicName, scan::tsCured);
}

// Nothing is changed unless its backup is on the disk first.
TFigCureStatus TFigCureThread::CureRegistryItem(const TFigScanedItem& item) {
  const bool key_deletion = item.LocationStyle == scan::lsRegistry && !item.ValueCheck;
  if (key_deletion) {
    FBackup->AddKeyTree(item.ScanedRoot, item.ScanedPath, item.ScanedSection);
  } else if (item.LocationStyle == scan::lsRegistryItem) {
    FBackup->AddValueBeforeWrite(item.ScanedRoot, item.ScanedPath, item.ScanedSection);
  } else {
    FBackup->AddValue(item.ScanedRoot, item.ScanedPath, item.ScanedSection);
  }
  if (!FBackup->Healthy()) return scan::csUncured;

  if (item.LocationStyle == scan::lsRegistryItem) {
    FRegCureExporter.AddRegItem(item.ScanedRoot, item.ScanedPath, item.ScanedName);
    FHasWantedValues = true;
    return scan::csIgnored;
  }
  const auto root = scan::RootKeyFromName(item.ScanedRoot);
  auto& registry = platform::Reg();
  if (key_deletion) {
    return root && registry.DeleteKeyTree(*root, item.ScanedPath) == platform::Result::kOk ? scan::csCured
                                                                                           : scan::csUncured;
  }
  if (!root || registry.KeyExists(*root, item.ScanedPath) != platform::Result::kOk) return scan::csIgnored;
  // A value that is already gone (a key without values stands for its
  // default value) leaves nothing to delete: not a failure.
  switch (registry.DeleteValue(*root, item.ScanedPath, item.ScanedSection)) {
    case platform::Result::kOk: return scan::csCured;
    case platform::Result::kNotFound: return scan::csIgnored;
    default: return scan::csUncured;
  }
}

TFigCureStatus TFigCureThread::CureDiskItem(const TFigScanedItem& item) {
  if (item.RuleStyle == scan::rsRurudOraziv) return StartSweepHelper(item);
  const std::wstring path = CombinePath(item.ScanedPath, item.ScanedName);
  platform::FileEntry entry;
  if (platform::Files().Stat(path, &entry) != platform::Result::kOk || entry.IsFolder()) return scan::csIgnored;
  // A file reached through a link or junction may be anybody's file: left.
  if (!IsPlainFile(path)) return scan::csIgnored;
  return platform::Files().DeleteFile(path) == platform::Result::kOk ? scan::csCured : scan::csUncured;
}

TFigCureStatus TFigCureThread::StartSweepHelper(const TFigScanedItem& item) {
  std::vector<std::wstring> lines;
  SplitText(item.RuleParams, L'\n', &lines);
  std::wstring parameters = lines.size() > 1 ? lines[1] : L"";
  if (!parameters.empty() && parameters.back() == L'\r') parameters.pop_back();
  if (GetWindowsMajorVersion() > 6) {
    RunElevated(OwnerWindow{}, item.ScanedRoot, parameters);
  } else {
    // The program path is quoted: a folder with blanks must not start
    // another program.
    RunCommand(L"", L"\"" + item.ScanedRoot + L"\" " + parameters, L"", 0, false, false);
  }
  return scan::csIgnored;
}

}  // namespace brimlow::cure
