#include "scan/FigTopic.h"

#include "base/Text.h"

namespace brimlow::scan {
namespace {

std::wstring_view KeyOf(std::wstring_view line) {
  return line.substr(0, line.find(L'='));
}

std::wstring SectionName(int index) { return L"TOPIC_" + std::to_wstring(index); }

// [sign] digits [. digits]
bool IsDecimalNumber(std::wstring_view text, bool* nonzero) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
  bool digits = false, dot = false;
  *nonzero = false;
  for (; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'.' && !dot) {
      dot = true;
      continue;
    }
    if (c < L'0' || c > L'9') return false;
    digits = true;
    if (c != L'0') *nonzero = true;
  }
  return digits;
}

}  // namespace

void TFigTopic::Assign(const TFigTopic& aTopic) {
  FValues = aTopic.FValues;
  FStatus = aTopic.FStatus;
}

void TFigTopic::Load(ProfileIni& aIni, int aIdx) {
  const std::wstring section = SectionName(aIdx);
  FValues.clear();
  for (const std::wstring& key : aIni.ReadSection(section)) {
    FValues.push_back(key + L"=" + aIni.ReadString(section, key, L""));
  }
}

bool TFigTopic::Save(ProfileIni& aIni, int aIdx) const {
  if (Name().empty()) return true;
  const std::wstring section = SectionName(aIdx);
  bool ok = true;
  for (const std::wstring& line : FValues) {
    const std::size_t equals = line.find(L'=');
    const std::wstring key = line.substr(0, equals);
    const std::wstring value =
        equals == std::wstring::npos ? std::wstring() : Trim(line.substr(equals + 1));
    ok = aIni.WriteString(section, key, L"\"" + value + L"\"") && ok;
  }
  return ok;
}

std::wstring TFigTopic::GetValue(std::wstring_view key) const {
  for (const std::wstring& line : FValues) {
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) continue;
    if (SameText(KeyOf(line), key)) return line.substr(equals + 1);
  }
  return {};
}

void TFigTopic::SetValue(std::wstring_view key, std::wstring_view value) {
  for (auto it = FValues.begin(); it != FValues.end(); ++it) {
    if (it->find(L'=') == std::wstring::npos || !SameText(KeyOf(*it), key)) continue;
    if (value.empty()) {
      FValues.erase(it);
    } else {
      *it = std::wstring(KeyOf(*it)) + L"=" + std::wstring(value);
    }
    return;
  }
  if (!value.empty()) FValues.push_back(std::wstring(key) + L"=" + std::wstring(value));
}

std::wstring TFigTopic::GetLocation(int index) const {
  return GetValue(L"LOCATION_" + std::to_wstring(index));
}

std::wstring TFigTopic::GetRegItemLine(int index) const {
  return GetValue(L"REGITEM_" + std::to_wstring(index));
}

TTopicCategory TFigTopic::Category() const {
  return static_cast<TTopicCategory>(TopicCategoryFromName(GetValue(L"Category")));
}

void TFigTopic::SetCategory(TTopicCategory category) {
  SetValue(L"Category", NameOf(category));
}

int TFigTopic::CountEntries(std::wstring_view prefix) const {
  int count = 0;
  while (!GetValue(std::wstring(prefix) + std::to_wstring(count)).empty()) ++count;
  return count;
}

int TFigTopic::LocationsCount() const { return CountEntries(L"LOCATION_"); }
int TFigTopic::RegItemsCount() const { return CountEntries(L"REGITEM_"); }

const std::vector<std::wstring>& TFigTopic::RegItem() const {
  FRegItems.clear();
  const int count = RegItemsCount();
  for (int i = 0; i < count; ++i) FRegItems.push_back(GetRegItemLine(i));
  return FRegItems;
}

bool TFigTopic::Enabled() const { return ReadBooleanText(GetValue(L"ENABLED"), false); }

void TFigTopic::SetEnabled(bool enabled) { SetValue(L"ENABLED", enabled ? L"-1" : L"0"); }

bool ReadBooleanText(std::wstring_view text, bool default_value) {
  const std::wstring trimmed = Trim(text);
  bool nonzero = false;
  if (IsDecimalNumber(trimmed, &nonzero)) return nonzero;
  if (SameText(trimmed, L"true")) return true;
  if (SameText(trimmed, L"false")) return false;
  return default_value;
}

std::int32_t ReadIntegerText(std::wstring_view text, std::int32_t default_value) {
  std::int64_t value = 0;
  if (!ParseInt64(Trim(text), &value)) return default_value;
  if (value < INT32_MIN || value > INT32_MAX) return default_value;
  return static_cast<std::int32_t>(value);
}

TopicLocation ParseTopicLocation(std::wstring_view value) {
  TopicLocation result;
  const std::size_t comma = value.find(L',');
  if (comma == std::wstring_view::npos) return result;
  const std::wstring_view rest = value.substr(comma + 1);
  result.location = std::wstring(rest.substr(0, rest.find(L',')));
  const int style = LocationStyleFromName(value.substr(0, comma));
  if (style != lsRegistry && style != lsDisk && style != lsRegistryItem) return result;
  result.style = static_cast<TLocationStyle>(style);
  if (style == lsDisk) return result;
  result.root = result.location.substr(0, result.location.find(L'\\'));
  if (result.root.size() == result.location.size()) {
    result.path = result.location;
    return result;
  }
  // Every occurrence of the root name and its backslash goes, not only the
  // leading one: topic databases are written for exactly this reading.
  const std::wstring prefix = result.root + L"\\";
  result.path = result.location;
  for (std::size_t at = result.path.find(prefix); at != std::wstring::npos;
       at = result.path.find(prefix, at)) {
    result.path.erase(at, prefix.size());
  }
  return result;
}

}  // namespace brimlow::scan
