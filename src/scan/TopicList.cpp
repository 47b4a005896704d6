#include "scan/TopicList.h"

#include <utility>

#include "base/Text.h"
#include "platform/Platform.h"
#include "scan/TopicDate.h"

namespace brimlow::scan {
namespace {

constexpr wchar_t kGlobal[] = L"GLOBAL";
constexpr wchar_t kDefaultDate[] = L"5/31/2010";

bool FileExists(const std::wstring& path) {
  platform::FileEntry entry;
  return Ok(platform::Files().Stat(path, &entry)) && !entry.IsFolder();
}

void SetError(std::wstring* error, std::wstring text) {
  if (error) *error = std::move(text);
}

// Unreadable categories (-1) sort after every other.
int SortKey(const TFigTopic& topic) { return static_cast<int>(topic.Category()) & 0x7F; }

}  // namespace

bool TFigTopicList::LoadTopics(const std::wstring& aFileName, std::wstring* error) {
  FMaxProcessingCount = 0;
  if (!FileExists(aFileName)) return true;
  auto ini = OpenProfileIni(aFileName);
  if (!SameText(ini->ReadString(kGlobal, L"MAGICWORD", L""), L"FIG")) return true;

  const std::wstring date_text = ini->ReadString(kGlobal, L"DATETIME", kDefaultDate);
  double date = 0;
  if (!ParseTopicDate(date_text, &date)) {
    const int line = ProfileKeyLine(aFileName, kGlobal, L"DATETIME");
    SetError(error, aFileName + L":" + std::to_wstring(line) + L": DATETIME \"" + date_text +
                        L"\" is not a date in month/day/year order");
    return false;
  }
  FTopicDateTime = date;

  std::vector<std::unique_ptr<TFigTopic>> loaded;
  for (int n = 0;; ++n) {
    const std::wstring section = L"TOPIC_" + std::to_wstring(n);
    if (ini->ReadString(section, L"NAME", L"").empty()) break;
    auto topic = std::make_unique<TFigTopic>();
    topic->Load(*ini, n);
    loaded.push_back(std::move(topic));
    FMaxProcessingCount += ReadIntegerText(ini->ReadString(section, L"WORKINGPERCENT", L""), 10);
  }
  ini.reset();
  if (loaded.empty()) return true;
  FTopicList = std::move(loaded);
  if (OnTopicLoaded) OnTopicLoaded(*this);
  return true;
}

bool TFigTopicList::SaveTopics(const std::wstring& aFileName, std::wstring* error) {
  FMaxProcessingCount = 0;
  platform::FileEntry entry;
  if (platform::Files().Stat(aFileName, &entry) != platform::Result::kNotFound) {
    SetError(error, aFileName + L": exists already; a topic database is never overwritten");
    return false;
  }
  auto ini = OpenProfileIni(aFileName);
  // Written in the order it is read back (month/day/year), whatever the
  // user's own date format.
  bool ok = ini->WriteString(kGlobal, L"MAGICWORD", L"FIG");
  ok = ini->WriteString(kGlobal, L"DATETIME", FormatTopicDate(TodayDate())) && ok;
  for (int i = 0; i < TopicCount(); ++i) ok = FTopicList[i]->Save(*ini, i) && ok;
  ok = ini->Flush() && ok;
  if (!ok) SetError(error, aFileName + L": cannot be written");
  return ok;
}

int TFigTopicList::AddTopic(const std::wstring& aName) {
  auto topic = std::make_unique<TFigTopic>();
  topic->SetValue(L"NAME", aName);
  FTopicList.push_back(std::move(topic));
  return TopicCount() - 1;
}

void TFigTopicList::DeleteTopic(int aIndex) {
  if (!GetTopic(aIndex)) return;
  FTopicList.erase(FTopicList.begin() + aIndex);
}

void TFigTopicList::ClearTopicList() { FTopicList.clear(); }

TFigTopic* TFigTopicList::GetTopic(int aIndex) const {
  if (aIndex < 0 || aIndex >= TopicCount()) return nullptr;
  return FTopicList[static_cast<std::size_t>(aIndex)].get();
}

TFigTopic* TFigTopicList::GetTopicByName(const std::wstring& aName) const {
  for (const auto& topic : FTopicList) {
    if (SameText(topic->Name(), aName)) return topic.get();
  }
  return nullptr;
}

int TFigTopicList::GetCategoryList(TTopicCategory aCategory,
                                   std::vector<std::wstring>* aList) const {
  if (!aList) return 0;
  int added = 0;
  for (int i = 0; i < TopicCount(); ++i) {
    if (FTopicList[i]->Category() != aCategory) continue;
    aList->push_back(std::to_wstring(i));
    ++added;
  }
  return added;
}

int TFigTopicList::GetRootList(TTopicCategory aCategory,
                               std::vector<std::wstring>* aList) const {
  if (!aList) return 0;
  int added = 0;
  for (const auto& topic : FTopicList) {
    if (topic->Category() != aCategory) continue;
    const std::wstring root = topic->GetValue(L"Root_Caption");
    bool known = false;
    for (const std::wstring& line : *aList) known = known || SameText(line, root);
    if (known) continue;
    aList->push_back(root);
    ++added;
  }
  return added;
}

int TFigTopicList::GetChildList(TTopicCategory aCategory, const std::wstring& aRoot,
                                std::vector<TopicCaption>* aList) const {
  if (!aList) return 0;
  int added = 0;
  for (const auto& topic : FTopicList) {
    if (topic->Category() != aCategory) continue;
    if (!SameText(topic->GetValue(L"Root_Caption"), aRoot)) continue;
    aList->push_back(TopicCaption{topic->GetValue(L"Rule_Caption"), topic.get()});
    ++added;
  }
  return added;
}

void TFigTopicList::SortByCategory() {
  // These exact swaps fix the order within a category, which the scan order
  // and the order of findings follow; the steps are not stable.
  const int n = TopicCount();
  for (int i = n - 1; i >= 1; --i) {
    for (int j = 0; j <= i - 1; ++j) {
      if (SortKey(*FTopicList[j]) > SortKey(*FTopicList[i])) {
        std::swap(FTopicList[i], FTopicList[j]);
      }
    }
  }
}

void TFigTopicList::SetTopicEnabled(int aIndex, bool aEnabled) {
  if (TFigTopic* topic = GetTopic(aIndex)) topic->SetEnabled(aEnabled);
}

void TFigTopicList::SetAllEnabled(bool aEnabled) {
  for (int i = 0; i < TopicCount(); ++i) SetTopicEnabled(i, aEnabled);
}

void TFigTopicList::SetTopicEnabledByName(const std::wstring& aName, bool aEnabled) {
  if (TFigTopic* topic = GetTopicByName(aName)) topic->SetEnabled(aEnabled);
}

void TFigTopicList::SetTopicEnabledByCategory(TTopicCategory aCategory, bool aEnabled) {
  for (const auto& topic : FTopicList) {
    if (topic->Category() == aCategory) topic->SetEnabled(aEnabled);
  }
}

void TFigTopicList::ResetStatus() {
  for (const auto& topic : FTopicList) topic->SetStatus(tsUncured);
}

}  // namespace brimlow::scan
