#include "framework/utils/TextUtils.h"

#include <limits>

#include "base/Text.h"

namespace brimlow {

int SafeStrToInt(std::wstring_view text, int default_value) {
  std::int64_t value = 0;
  if (!ParseInt64(Trim(text), &value)) return default_value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return default_value;
  }
  return static_cast<int>(value);
}

bool StartsWithText(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  return SameText(text.substr(0, prefix.size()), prefix);
}

void SplitText(std::wstring_view text, std::wstring_view delimiter,
               std::vector<std::wstring>* list) {
  if (text.empty()) return;
  if (delimiter.size() != 1) {
    list->emplace_back(text);
    return;
  }
  SplitText(text, delimiter[0], list);
}

void SplitText(std::wstring_view text, wchar_t delimiter, std::vector<std::wstring>* list) {
  if (text.empty()) return;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != delimiter) continue;
    list->emplace_back(text.substr(start, i - start));
    start = i + 1;
  }
  list->emplace_back(text.substr(start));
}

std::wstring FormatPlaceholders(std::wstring_view format, const std::vector<std::wstring>& texts) {
  std::wstring result;
  std::size_t i = 0;
  while (i < format.size()) {
    const std::size_t close = format[i] == L'{' ? format.find(L'}', i + 1) : std::wstring_view::npos;
    if (close != std::wstring_view::npos) {
      const std::wstring_view digits = format.substr(i + 1, close - i - 1);
      const bool plain = !digits.empty() && digits[0] != L'0' && digits[0] != L'+' &&
                         digits[0] != L'-';
      std::int64_t n = 0;
      if (plain && ParseInt64(digits, &n) && n >= 1 && static_cast<std::uint64_t>(n) <= texts.size()) {
        result += texts[static_cast<std::size_t>(n - 1)];
        i = close + 1;
        continue;
      }
    }
    result += format[i];
    ++i;
  }
  return result;
}

std::uint32_t VersionToInt(std::wstring_view text) {
  std::vector<std::wstring> words;
  SplitText(text, L' ', &words);
  if (words.empty()) return 0;
  std::vector<std::wstring> parts;
  SplitText(words[0], L'.', &parts);
  if (parts.size() != 4) return 0;
  std::uint32_t version = 0;
  for (const std::wstring& part : parts) {
    version = (version << 8) | (static_cast<std::uint32_t>(SafeStrToInt(part, 0)) & 0xFF);
  }
  return version;
}

std::wstring HexOfLowBytes(std::wstring_view text, int count) {
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring hex;
  for (std::size_t i = 0; i < text.size() && static_cast<int>(i) < count; ++i) {
    const unsigned byte = static_cast<unsigned>(text[i]) & 0xFF;
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xF];
  }
  return hex;
}

}  // namespace brimlow
