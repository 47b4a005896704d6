#include "regfile/RegFileDecode.h"

#include <string_view>

namespace brimlow::regfile {
namespace {

bool StartsWith(const Bytes& content, std::string_view prefix) {
  if (content.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (content[i] != static_cast<std::uint8_t>(prefix[i])) return false;
  }
  return true;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    int extra = 0;
    std::uint32_t min = 0;
    std::uint32_t cp = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, min = 0x80, cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, min = 0x800, cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, min = 0x10000, cp = lead & 0x07;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<std::uint8_t>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::wstring DecodeText(const Bytes& content) {
  if (StartsWith(content, "\xFF\xFE")) {
    return FromUtf16LeBytes(content.data() + 2, content.size() - 2);
  }
  if (StartsWith(content, "\xEF\xBB\xBF")) {
    return FromUtf8(std::string_view(reinterpret_cast<const char*>(content.data()) + 3,
                                     content.size() - 3));
  }
  const std::string_view bytes(reinterpret_cast<const char*>(content.data()), content.size());
  const bool version4 = bytes.substr(0, 8) == "REGEDIT4";
  if (!version4 && IsValidUtf8(bytes)) return FromUtf8(bytes);
  return FromAnsi(bytes);
}

std::wstring_view TrimRight(std::wstring_view line) {
  while (!line.empty() && (line.back() == L' ' || line.back() == L'\t')) line.remove_suffix(1);
  return line;
}

}  // namespace

DecodedFile DecodeRegFile(const Bytes& content) {
  DecodedFile file;
  file.lines = SplitLines(DecodeText(content));
  if (file.lines.empty()) return file;
  const std::wstring_view header = TrimRight(file.lines[0]);
  if (header == kHeader5) file.version = RegFileVersion::kVersion5;
  if (header == kHeader4) file.version = RegFileVersion::kVersion4;
  return file;
}

}  // namespace brimlow::regfile
