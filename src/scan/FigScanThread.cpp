#include "scan/FigScanThread.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "framework/utils/Paths.h"
#include "framework/utils/TextUtils.h"
#include "platform/Platform.h"
#include "scan/FigRule.h"
#include "scan/FileProbe.h"
#include "scan/RegistryProbe.h"
#include "scan/RootKeys.h"
#include "scan/TopicList.h"

namespace brimlow::scan {
namespace {

using Clock = std::chrono::steady_clock;
namespace RegType = platform::RegType;

constexpr int kDefaultWorkingPercent = 50;
constexpr auto kPacingStep = std::chrono::milliseconds(40);
constexpr auto kPausePoll = std::chrono::milliseconds(2);

// The data of a registry value as the rules see it.
std::wstring DataText(const platform::RegValue& value) {
  switch (value.type) {
    case RegType::kSz:
    case RegType::kExpandSz: return platform::RegValueText(value);
    case RegType::kDword: return std::to_wstring(static_cast<std::int32_t>(platform::RegValueDword(value)));
    case RegType::kBinary: return L"Binary Data";
    default: return L"";
  }
}

bool IsRegistryStyle(TLocationStyle style) { return style == lsRegistry || style == lsRegistryItem; }

// "@Name": a shell folder, the temporary folders, or the name itself.
std::wstring ResolveDiskLocation(const std::wstring& location, FileProbe& probe) {
  if (location.empty() || location[0] != L'@') return location;
  const std::wstring name = location.substr(1);
  const std::wstring shell = GetShellFolder(name);
  if (!shell.empty() && probe.FolderExists(shell)) return shell;
  if (SameText(name, L"Temp")) return GetTempDir();
  const std::wstring system_root = platform::Env().Variable(L"SYSTEMROOT");
  if (SameText(name, L"WindowsTemp")) return CombinePath(system_root, L"Temp");
  if (SameText(name, L"WindowsDebug")) return CombinePath(system_root, L"Debug");
  return name;
}

// A real folder: present, and not reached through a link or junction.
bool IsPlainFolder(const std::wstring& path) {
  platform::FileEntry entry;
  std::wstring trimmed = path;
  while (trimmed.size() > 3 && trimmed.back() == L'\\') trimmed.pop_back();
  return !trimmed.empty() && platform::Files().Stat(trimmed, &entry) == platform::Result::kOk &&
         entry.IsFolder() && !entry.IsReparsePoint();
}

}  // namespace

// What the walk reads from a topic, read once per topic.
struct TFigScanThread::TopicParams {
  const TFigTopic* topic = nullptr;
  std::wstring name;
  TTopicCategory category = tcUnknow;
  std::wstring rule;
  std::wstring rule_caption;
  std::wstring except_options;
  std::vector<std::wstring> reg_items;
  std::int32_t level = 1;
  std::int32_t working_percent = kDefaultWorkingPercent;
  std::int32_t folder_depth = -1;
  bool check_values = false;        // one item per value while walking
  bool finding_value_check = true;  // what a finding's ValueCheck says
  bool include_subfolders = false;
  TFigRuleTopic rules;          // shared by every item's rule processor
  std::wstring rule_params;     // a finding's RuleParams

  explicit TopicParams(const TFigTopic& t)
      : topic(&t),
        name(t.Name()),
        category(t.Category()),
        rule(t.GetValue(L"Rule")),
        rule_caption(t.GetValue(L"Rule_Caption")),
        except_options(t.GetValue(L"EXCEPTOPTIONS")),
        reg_items(t.RegItem()),
        level(ReadIntegerText(t.GetValue(L"LEVEL"), 1)),
        working_percent(ReadIntegerText(t.GetValue(L"WorkingPercent"), kDefaultWorkingPercent)),
        folder_depth(ReadIntegerText(t.GetValue(L"FolderDepth"), -1)),
        check_values(ReadBooleanText(t.GetValue(L"CheckValues"), false)),
        finding_value_check(ReadBooleanText(t.GetValue(L"CHECKVALUES"), true)),
        include_subfolders(ReadBooleanText(t.GetValue(L"IncludeSubFolder"), false)),
        rules(rule, rule_caption, reg_items, t.Status(), except_options) {
    for (const auto& field : rules.RuleParams) rule_params += field + L"\r\n";
  }
};

namespace {

// The registry probe knows the walked key while its items are judged.
class NotedKey {
 public:
  NotedKey(RegistryProbe& probe, platform::RegRoot root, const std::wstring& key,
           const std::vector<platform::RegValue>& values, std::uint32_t subkeys, std::uint32_t value_count)
      : probe_(probe) {
    probe_.NoteWalkedKey(root, key, values, subkeys, value_count);
  }
  ~NotedKey() { probe_.ForgetWalkedKey(); }
  NotedKey(const NotedKey&) = delete;
  NotedKey& operator=(const NotedKey&) = delete;

 private:
  RegistryProbe& probe_;
};

}  // namespace

int MinimumTimePerTopic(int minimum_scan_ms, int topic_count) {
  if (topic_count <= 0 || minimum_scan_ms <= 0) return 0;
  const int quotient = minimum_scan_ms / topic_count;
  const int remainder = minimum_scan_ms % topic_count;
  const int twice = 2 * remainder;
  if (twice > topic_count || (twice == topic_count && (quotient % 2) != 0)) return quotient + 1;
  return quotient;
}

TFigScanThread::TFigScanThread(MainLoop& loop, const TFigTopicList& topics, ScanHandlers handlers,
                               int minimum_scan_ms)
    : WorkerThread(loop), FHandlers(std::move(handlers)), FMinimumScanMs(minimum_scan_ms) {
  FTopicList.reserve(static_cast<std::size_t>(topics.TopicCount()));
  for (int i = 0; i < topics.TopicCount(); ++i) {
    TFigTopic copy;
    copy.Assign(*topics.GetTopic(i));
    FTopicList.push_back(std::move(copy));
  }
}

TFigScanThread::~TFigScanThread() { TerminateAndWait(); }

void TFigScanThread::GetScannedItem(TFigScanedItem& item) {
  if (Suspended()) return;
  std::lock_guard<std::mutex> lock(FLock);
  item = FFigScannedItem;
}

// Assigned field by field into the one slot: the strings keep their
// storage from item to item, so publishing allocates nothing once the slot
// has grown, and the lock is held only for the copies.
void TFigScanThread::SetScannedItem(const TopicParams& topic, TLocationStyle style, const std::wstring& root,
                                    const std::wstring& path, const std::wstring& section,
                                    const std::wstring& name, std::int32_t current_per) {
  std::lock_guard<std::mutex> lock(FLock);
  FFigScannedItem.TopicName.assign(topic.name);
  FFigScannedItem.Category = topic.category;
  FFigScannedItem.LocationStyle = style;
  FFigScannedItem.ScanedRoot.assign(root);
  FFigScannedItem.ScanedPath.assign(path);
  FFigScannedItem.ScanedSection.assign(section);
  FFigScannedItem.ScanedName.assign(name);
  FFigScannedItem.CurrentPer = current_per;
}

void TFigScanThread::WaitWhilePaused() {
  // A short sleep rather than a bare yield: a paused scan must not keep a
  // processor busy.
  while (PauseFlag.load(std::memory_order_acquire) && !Terminated()) std::this_thread::sleep_for(kPausePoll);
}

bool TFigScanThread::StopCheck() {
  WaitWhilePaused();
  return Terminated();
}

// An error escaping the walk (an allocation failure, an unexpected platform
// error) ends the scan with the scan-terminated report, so the owner always
// hears one of the two ends.
void TFigScanThread::Execute() {
  FProbe = MakeCachingFileProbe();
  FRegistryProbe = MakeWalkRegistryProbe();
  try {
    RunTopics();
  } catch (...) {
    DoScanTerminated();
  }
}

void TFigScanThread::RunTopics() {
  FCurrentPercent = 0;
  if (FTopicList.size() >= 2) {
    FCurrentTopic = 0;
    FCurrentCategory = FTopicList[0].Category();
    DoCategoryStarted();
  }
  const auto per_topic =
      std::chrono::milliseconds(MinimumTimePerTopic(FMinimumScanMs, static_cast<int>(FTopicList.size())));
  std::int32_t percent_sum = 0;
  for (std::size_t i = 0; i < FTopicList.size(); ++i) {
    const auto begin = Clock::now();
    FCurrentTopic = i;
    const TFigTopic& topic = FTopicList[i];
    if (topic.Category() != FCurrentCategory) {
      DoCategoryFinished();
      DoCategoryStarted();
      FCurrentCategory = topic.Category();
    }
    if (StopCheck()) return DoScanTerminated();
    if (!topic.Enabled()) continue;
    if (StopCheck()) return DoScanTerminated();
    const TopicParams params(topic);
    if (ScanTopic(params) == Walk::kStopped) return DoScanTerminated();
    percent_sum += params.working_percent;
    FCurrentPercent = percent_sum;
    DoTopicFinished();
    while (Clock::now() - begin < per_topic) std::this_thread::sleep_for(kPacingStep);
  }
  DoCategoryFinished();
  DoFinished();
}

TFigScanThread::Walk TFigScanThread::ScanTopic(const TopicParams& topic) {
  const int count = topic.topic->LocationsCount();
  for (int i = 0; i < count; ++i) {
    if (StopCheck()) return Walk::kStopped;
    const std::wstring value = topic.topic->GetLocation(i);
    const TopicLocation location = ParseTopicLocation(value);
    if (StopCheck()) return Walk::kStopped;
    Walk walk = Walk::kDone;
    switch (location.style) {
      case lsRegistry: walk = ScanRegistryLocation(topic, value); break;
      case lsDisk: walk = ScanDiskLocation(topic, location.location, topic.folder_depth, 0); break;
      case lsRegistryItem: walk = ScanRegistryItems(topic, value); break;
      default: break;
    }
    if (walk == Walk::kStopped) return walk;
  }
  return Walk::kDone;
}

TFigScanThread::Walk TFigScanThread::ScanRegistryLocation(const TopicParams& topic, const std::wstring& value) {
  if (StopCheck()) return Walk::kStopped;
  const TopicLocation location = ParseTopicLocation(value);
  const auto root = RootKeyFromName(location.root);
  if (StopCheck()) return Walk::kStopped;
  if (!root) return Walk::kDone;
  int counter = 0;
  // A stop that cut the location short is seen at the next stop check.
  ScanKey(topic, location.root, static_cast<int>(*root), location.path, topic.folder_depth, counter);
  return Walk::kDone;
}

TFigScanThread::Walk TFigScanThread::ScanKey(const TopicParams& topic, const std::wstring& root_name, int root,
                                             const std::wstring& key, int depth, int& counter) {
  if (depth == 0) return Walk::kDone;
  const auto reg_root = static_cast<platform::RegRoot>(static_cast<std::uint32_t>(root));
  auto& registry = platform::Reg();
  std::vector<platform::RegValue> values;
  if (registry.Values(reg_root, key, &values) != platform::Result::kOk) return Walk::kDone;
  std::uint32_t subkeys = 0;
  std::uint32_t value_count = 0;
  const bool counted = registry.CountChildren(reg_root, key, &subkeys, &value_count) == platform::Result::kOk;
  if (ScanKeyItems(topic, root_name, reg_root, key, values, counted, subkeys, value_count, counter) ==
      Walk::kStopped) {
    return Walk::kStopped;
  }
  if (subkeys == 0 || !topic.include_subfolders) return Walk::kDone;
  std::vector<std::wstring> names;
  registry.SubKeyNames(reg_root, key, &names);
  for (const auto& name : names) {
    if (StopCheck()) return Walk::kStopped;
    const std::wstring child = key.empty() ? name : key + L"\\" + name;
    if (ScanKey(topic, root_name, root, child, depth - 1, counter) == Walk::kStopped) return Walk::kStopped;
  }
  return Walk::kDone;
}

// The key's own items: one per value (only the first unless the topic
// checks values), or the key itself when it has no values. What the walk
// has just read of the key answers the rules' questions about it.
TFigScanThread::Walk TFigScanThread::ScanKeyItems(const TopicParams& topic, const std::wstring& root_name,
                                                  platform::RegRoot root, const std::wstring& key,
                                                  const std::vector<platform::RegValue>& values, bool counted,
                                                  std::uint32_t subkeys, std::uint32_t value_count,
                                                  int& counter) {
  std::optional<NotedKey> noted;
  if (counted) noted.emplace(*FRegistryProbe, root, key, values, subkeys, value_count);
  if (values.empty()) {
    if (StopCheck()) return Walk::kStopped;
    ++counter;
    if (subkeys == 0 && topic.check_values) return Walk::kDone;
    return ProcessItem(topic, lsRegistry, root_name, key, L"", L"", counter, 0);
  }
  for (const auto& value : values) {
    if (StopCheck()) return Walk::kStopped;
    ++counter;
    if (ProcessItem(topic, lsRegistry, root_name, key, value.name, DataText(value), counter, 0) ==
        Walk::kStopped) {
      return Walk::kStopped;
    }
    if (!topic.check_values) break;
  }
  return Walk::kDone;
}

// `listed_plain`: the location is a subfolder whose parent's listing has
// just shown it as a plain folder, so it is not asked again.
TFigScanThread::Walk TFigScanThread::ScanDiskLocation(const TopicParams& topic, const std::wstring& location,
                                                      int depth, int counter, bool listed_plain) {
  if (SameText(location, L"rurudoraziv.exe")) {
    const std::wstring path = CombinePath(ExtractFilePath(GetAppFileName()), location);
    if (ProcessItem(topic, lsDisk, path, path, path, location, counter, 0) == Walk::kStopped) {
      return Walk::kStopped;
    }
  }
  if (depth == 0) return Walk::kDone;
  std::wstring folder = ResolveDiskLocation(location, *FProbe);
  // A link or junction is passed over like a folder that does not exist:
  // following one would let the junk-file cure reach the files it points at.
  if (!listed_plain && !IsPlainFolder(folder)) return Walk::kDone;
  folder = AddTrailingBackslash(folder);

  std::vector<platform::FileEntry> entries;
  platform::Files().List(folder + L"*", &entries);
  for (const auto& entry : entries) {
    if (StopCheck()) return Walk::kStopped;
    if (entry.IsReparsePoint()) continue;
    if (!entry.IsFolder()) ++counter;
    if (entry.name == L"." || entry.name == L"..") continue;
    // Folders add nothing: their size cannot be read as a file's.
    const std::int64_t size = entry.IsFolder() ? 0 : static_cast<std::int64_t>(entry.size & 0xFFFFFFFFu);
    FProbe->NoteListedEntry(folder, entry);
    const Walk walk = ProcessItem(topic, lsDisk, folder, folder, location, entry.name, counter, size);
    FProbe->ForgetListedEntry();
    if (walk == Walk::kStopped) return Walk::kStopped;
  }
  for (const auto& entry : entries) {
    if (StopCheck()) return Walk::kStopped;
    if (!entry.IsFolder() || entry.IsReparsePoint() || entry.name == L"." || entry.name == L"..") continue;
    if (topic.include_subfolders) {
      ScanDiskLocation(topic, CombinePath(folder, entry.name), depth - 1, counter, true);
    }
  }
  return Walk::kDone;
}

TFigScanThread::Walk TFigScanThread::ScanRegistryItems(const TopicParams& topic, const std::wstring& value) {
  if (StopCheck()) return Walk::kStopped;
  const TopicLocation location = ParseTopicLocation(value);
  for (const auto& line : topic.reg_items) {
    std::wstring name = line.substr(0, line.find(L'='));
    if (name == L"@") name.clear();
    if (!name.empty() && name.front() == L'"') name.erase(0, 1);
    if (!name.empty() && name.back() == L'"') name.pop_back();
    if (ProcessItem(topic, lsRegistryItem, location.root, location.path, name, line, 0, 0) == Walk::kStopped) {
      return Walk::kStopped;
    }
  }
  return Walk::kDone;
}

TFigScanThread::Walk TFigScanThread::ProcessItem(const TopicParams& topic, TLocationStyle style,
                                                 const std::wstring& root, const std::wstring& path,
                                                 const std::wstring& section, const std::wstring& name,
                                                 int counter, std::int64_t size) {
  if (StopCheck()) return Walk::kStopped;
  const std::int32_t current_per = FCurrentPercent + std::min(counter, topic.working_percent);
  SetScannedItem(topic, style, root, path, section, name, current_per);
  if (StopCheck()) return Walk::kStopped;

  ++FSummary.AllCount;
  if (IsRegistryStyle(style)) ++FSummary.RegistryItemCount;
  if (style == lsDisk) {
    ++FSummary.FileCount;
    FSummary.FileSizeCount += size;
  }
  if (StopCheck()) return Walk::kStopped;

  TFigRuleProcessor processor(topic.rules, style, root, path, section, name, FProbe.get(), FRegistryProbe.get());
  TFigResultItem result;
  bool matched = false;
  try {
    matched = processor.DoSearch(result);
  } catch (...) {
    matched = false;  // one item that cannot be judged is no finding
  }
  if (matched) {
    result.Level = topic.level;
    if (StopCheck()) return Walk::kStopped;
    SetMatchedItem(topic, style, root, path, section, name, current_per, result);
    if (StopCheck()) return Walk::kStopped;
    ++FSummary.MatchedAllCount;
    if (IsRegistryStyle(style)) ++FSummary.MatchedRegItemCount;
    if (style == lsDisk) {
      ++FSummary.MatchedFileCount;
      FSummary.MatchedFileSizeCount += size;
    }
    DoTopicMatched();
    ++FSid;
  }
  if (StopCheck()) return Walk::kStopped;
  FItemScaned.store(true, std::memory_order_release);
  return Walk::kDone;
}

// Assigned field by field into the one finding slot, which keeps its
// storage from finding to finding; DoTopicMatched hands it over.
void TFigScanThread::SetMatchedItem(const TopicParams& topic, TLocationStyle style, const std::wstring& root,
                                    const std::wstring& path, const std::wstring& section,
                                    const std::wstring& name, std::int32_t current_per,
                                    const TFigResultItem& result) {
  TFigScanedItem& item = FFigMatchedItem;
  item.SID = FSid;
  item.TopicName.assign(topic.name);
  item.Category = topic.category;
  item.RuleStyle = static_cast<TRuleStyle>(topic.rules.RuleStyle);
  item.RuleParams.assign(topic.rule_params);
  item.RuleCaption.assign(topic.rules.RuleCaption);
  item.FigResult = result;
  item.LocationStyle = style;
  item.ScanedRoot.assign(root);
  item.ScanedPath.assign(path);
  item.ScanedSection.assign(section);
  item.ScanedName.assign(name);
  item.CurrentPer = current_per;
  item.ValueCheck = topic.finding_value_check;
  item.Checked = topic.level > 1;
}

int TFigScanThread::CountEnabledInCategory(TTopicCategory category) const {
  return static_cast<int>(std::count_if(FTopicList.begin(), FTopicList.end(), [&](const TFigTopic& t) {
    return t.Category() == category && t.Enabled();
  }));
}

void TFigScanThread::DoCategoryStarted() {
  const TTopicCategory category = FTopicList[FCurrentTopic].Category();
  if (!FHandlers.OnCategoryStarted || CountEnabledInCategory(category) == 0) return;
  Synchronize([&] { FHandlers.OnCategoryStarted(category); });
}

void TFigScanThread::DoCategoryFinished() {
  if (!FHandlers.OnCategoryFinished || CountEnabledInCategory(FCurrentCategory) == 0) return;
  const TTopicCategory category = FCurrentCategory;
  Synchronize([&] { FHandlers.OnCategoryFinished(category); });
}

void TFigScanThread::DoTopicFinished() {
  if (!FHandlers.OnTopicFinished) return;
  const TFigTopic& topic = FTopicList[FCurrentTopic];
  Synchronize([&] { FHandlers.OnTopicFinished(topic); });
}

void TFigScanThread::DoTopicMatched() {
  if (!OnTopicMatched) return;
  Synchronize([&] { OnTopicMatched(FFigMatchedItem); });
}

void TFigScanThread::DoFinished() {
  if (OnFinished) Synchronize([&] { OnFinished(*this); });
}

void TFigScanThread::DoScanTerminated() {
  if (OnScanTerminated) Synchronize([&] { OnScanTerminated(*this); });
}

}  // namespace brimlow::scan
