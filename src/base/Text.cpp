#include "base/Text.h"

#include <limits>

namespace brimlow {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

void AppendUtf16(std::wstring& out, std::uint32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<wchar_t>(cp));
  }
}

// Windows-1252 bytes 0x80..0x9F; the rest of the page equals Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = static_cast<std::uint16_t>(text[i]);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
      std::uint32_t lo = static_cast<std::uint16_t>(text[i + 1]);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
        ++i;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = kReplacement;
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::wstring FromUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    const int extra = b0 < 0x80 ? 0 : (b0 >> 5) == 6 ? 1 : (b0 >> 4) == 14 ? 2 : (b0 >> 3) == 30 ? 3 : -1;
    std::uint32_t cp = extra <= 0 ? b0 : (b0 & (0x3F >> extra));
    bool ok = extra >= 0 && i + extra < text.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      ok = (b & 0xC0) == 0x80;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    AppendUtf16(out, cp);
    i += extra + 1;
  }
  return out;
}

Bytes ToUtf16LeBytes(std::wstring_view text) {
  Bytes out;
  out.reserve(text.size() * 2);
  for (wchar_t c : text) {
    const auto u = static_cast<std::uint16_t>(c);
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  return out;
}

std::wstring FromUtf16LeBytes(const std::uint8_t* data, std::size_t size) {
  std::wstring out;
  out.reserve(size / 2);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    out.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  }
  return out;
}

std::string ToAnsi(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    const auto u = static_cast<std::uint16_t>(c);
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out.push_back(static_cast<char>(u));
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k) {
      if (kCp1252High[k] == u) { mapped = static_cast<char>(0x80 + k); break; }
    }
    out.push_back(mapped);
  }
  return out;
}

std::wstring FromAnsi(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (char ch : text) {
    const auto b = static_cast<unsigned char>(ch);
    out.push_back(b >= 0x80 && b < 0xA0 ? static_cast<wchar_t>(kCp1252High[b - 0x80])
                                        : static_cast<wchar_t>(b));
  }
  return out;
}

wchar_t UpperChar(wchar_t c) {
  const auto u = static_cast<std::uint32_t>(static_cast<std::uint16_t>(c));
  if (u >= 'a' && u <= 'z') return static_cast<wchar_t>(u - 32);
  if (u < 0xE0) return c;
  if (u <= 0xFE && u != 0xF7) return static_cast<wchar_t>(u - 32);
  if (u == 0xFF) return static_cast<wchar_t>(0x178);
  if (u >= 0x100 && u <= 0x17F && (u & 1) && u != 0x131 && u != 0x138 && u != 0x149 && u != 0x17F &&
      !(u >= 0x139 && u <= 0x148)) {
    return static_cast<wchar_t>(u - 1);
  }
  if (u >= 0x139 && u <= 0x148 && !(u & 1)) return static_cast<wchar_t>(u - 1);
  if (u >= 0x3B1 && u <= 0x3C9 && u != 0x3C2) return static_cast<wchar_t>(u - 32);
  if (u >= 0x430 && u <= 0x44F) return static_cast<wchar_t>(u - 32);
  if (u >= 0x450 && u <= 0x45F) return static_cast<wchar_t>(u - 80);
  return c;
}

wchar_t LowerChar(wchar_t c) {
  const auto u = static_cast<std::uint32_t>(static_cast<std::uint16_t>(c));
  if (u >= 'A' && u <= 'Z') return static_cast<wchar_t>(u + 32);
  if (u < 0xC0) return c;
  if (u <= 0xDE && u != 0xD7) return static_cast<wchar_t>(u + 32);
  if (u == 0x178) return static_cast<wchar_t>(0xFF);
  if (u >= 0x100 && u <= 0x17F && UpperChar(static_cast<wchar_t>(u + 1)) == static_cast<wchar_t>(u) && u != 0x130) {
    return static_cast<wchar_t>(u + 1);
  }
  if (u >= 0x391 && u <= 0x3A9 && u != 0x3A2) return static_cast<wchar_t>(u + 32);
  if (u >= 0x410 && u <= 0x42F) return static_cast<wchar_t>(u + 32);
  if (u >= 0x400 && u <= 0x40F) return static_cast<wchar_t>(u + 80);
  return c;
}

std::wstring UpperCase(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = UpperChar(c);
  return out;
}

std::wstring LowerCase(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = LowerChar(c);
  return out;
}

int CompareText(std::wstring_view a, std::wstring_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<std::uint16_t>(UpperChar(a[i]));
    const auto y = static_cast<std::uint16_t>(UpperChar(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

bool ContainsText(std::wstring_view haystack, std::wstring_view needle) {
  if (needle.empty()) return true;
  if (needle.size() > haystack.size()) return false;
  for (std::size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
    if (SameText(haystack.substr(i, needle.size()), needle)) return true;
  }
  return false;
}

std::wstring Trim(std::wstring_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && static_cast<std::uint16_t>(text[b]) <= 0x20) ++b;
  while (e > b && static_cast<std::uint16_t>(text[e - 1]) <= 0x20) --e;
  return std::wstring(text.substr(b, e - b));
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + (text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n' ? 2 : 1);
  }
  return lines;
}

bool ParseInt64(std::wstring_view text, std::int64_t* value) {
  if (text.empty()) return false;
  std::size_t i = 0;
  bool negative = false;
  if (text[0] == L'-' || text[0] == L'+') {
    negative = text[0] == L'-';
    i = 1;
  }
  if (i == text.size()) return false;
  std::uint64_t acc = 0;
  const std::uint64_t limit =
      negative ? static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1
               : static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return false;
    acc = acc * 10 + static_cast<std::uint64_t>(text[i] - L'0');
    if (acc > limit) return false;
  }
  *value = negative ? static_cast<std::int64_t>(0 - acc) : static_cast<std::int64_t>(acc);
  return true;
}

}  // namespace brimlow
