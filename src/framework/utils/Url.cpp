#include "framework/utils/Url.h"

#include "base/Text.h"
#include "framework/utils/NameValueList.h"
#include "framework/utils/TextUtils.h"

namespace brimlow {
namespace {

int HexDigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// false when a "%" is not followed by "%" or two hexadecimal digits.
bool DecodeUrlValue(std::wstring_view text, std::wstring* decoded) {
  decoded->clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'+') {
      *decoded += L' ';
    } else if (c != L'%') {
      *decoded += c;
    } else if (i + 1 < text.size() && text[i + 1] == L'%') {
      *decoded += L'%';
      ++i;
    } else {
      if (i + 2 >= text.size()) return false;
      const int high = HexDigitValue(text[i + 1]);
      const int low = HexDigitValue(text[i + 2]);
      if (high < 0 || low < 0) return false;
      *decoded += FromAnsi(std::string(1, static_cast<char>(high * 16 + low)));
      i += 2;
    }
  }
  return true;
}

}  // namespace

std::wstring AppendUrlParam(std::wstring_view url, std::wstring_view parameter) {
  if (url.empty()) return std::wstring(parameter);
  std::wstring result(url);
  if (url.find(L'?') == std::wstring_view::npos) {
    result += L'?';
  } else if (url.back() != L'&' && url.back() != L'?') {
    result += L'&';
  }
  result += parameter;
  return result;
}

void ParseUrlParams(std::wstring_view url, std::vector<std::wstring>* list, bool decode) {
  std::wstring_view query = url;
  const std::size_t question = query.find(L'?');
  if (question != std::wstring_view::npos) query = query.substr(question + 1);
  const std::size_t colon = query.find(L':');
  if (colon != std::wstring_view::npos) query = query.substr(colon + 1);

  if (!decode) {
    SplitText(query, L'&', list);
    return;
  }
  std::vector<std::wstring> pieces;
  SplitText(query, L'&', &pieces);
  for (const std::wstring& piece : pieces) {
    const std::size_t eq = piece.find(L'=');
    const std::wstring name = piece.substr(0, eq);
    const std::wstring_view raw =
        eq == std::wstring::npos ? std::wstring_view() : std::wstring_view(piece).substr(eq + 1);
    std::wstring value;
    if (!DecodeUrlValue(raw, &value)) continue;
    SetListValue(list, name, value);
  }
}

}  // namespace brimlow
