#include "framework/utils/NameValueList.h"

#include "base/Text.h"

namespace brimlow {

std::wstring ListNameOf(std::wstring_view line) {
  return std::wstring(line.substr(0, line.find(L'=')));
}

int IndexOfListName(const std::vector<std::wstring>& list, std::wstring_view name) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (SameText(ListNameOf(list[i]), name)) return static_cast<int>(i);
  }
  return -1;
}

std::wstring ListValueOf(const std::vector<std::wstring>& list, std::wstring_view name) {
  const int index = IndexOfListName(list, name);
  if (index < 0) return std::wstring();
  const std::wstring& line = list[static_cast<std::size_t>(index)];
  const std::size_t eq = line.find(L'=');
  return eq == std::wstring::npos ? std::wstring() : line.substr(eq + 1);
}

void SetListValue(std::vector<std::wstring>* list, std::wstring_view name, std::wstring_view value) {
  const int index = IndexOfListName(*list, name);
  if (value.empty()) {
    if (index >= 0) list->erase(list->begin() + index);
    return;
  }
  std::wstring line = std::wstring(name) + L"=" + std::wstring(value);
  if (index >= 0) {
    (*list)[static_cast<std::size_t>(index)] = std::move(line);
  } else {
    list->push_back(std::move(line));
  }
}

}  // namespace brimlow
