#pragma once
// Turning the bytes of a registry-editor file into numbered text lines.

#include <string>
#include <vector>

#include "base/Text.h"

namespace brimlow::regfile {

enum class RegFileVersion { kUnknown, kVersion5, kVersion4 };

constexpr wchar_t kHeader5[] = L"Windows Registry Editor Version 5.00";
constexpr wchar_t kHeader4[] = L"REGEDIT4";

struct DecodedFile {
  RegFileVersion version = RegFileVersion::kUnknown;  // from the first line
  std::vector<std::wstring> lines;  // without line ends; lines[0] is line 1
};

// Decodes UTF-16LE (byte-order mark FF FE), UTF-8 (with or without its mark)
// or Windows-1252 text and splits it at LF, CR LF or a lone CR. A file
// without a byte-order mark is read as UTF-8 when it is valid UTF-8 and its
// header is not "REGEDIT4"; otherwise as Windows-1252. The version is
// kUnknown when the first line is neither header.
DecodedFile DecodeRegFile(const Bytes& content);

}  // namespace brimlow::regfile
