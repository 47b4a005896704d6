#include "cure/RegUtils.h"

#include <cstdio>

#include "platform/Platform.h"
#include "platform/RegistryEditor.h"
#include "scan/RootKeys.h"

namespace brimlow::cure {
namespace {

namespace RegType = platform::RegType;
using platform::RegValue;

constexpr wchar_t kHeader[] = L"Windows Registry Editor Version 5.00\r\n\r\n";
constexpr wchar_t kNotFound[] = L"Not Found!";
constexpr int kImportTimeoutMs = 3000;

void AppendUtf16(Bytes* stream, const std::wstring& text) {
  const Bytes bytes = ToUtf16LeBytes(text);
  stream->insert(stream->end(), bytes.begin(), bytes.end());
}

// Puts a backslash before every character of the set.
std::wstring Escape(const std::wstring& text, std::wstring_view escaped) {
  std::wstring result;
  for (wchar_t c : text) {
    if (escaped.find(c) != std::wstring_view::npos) result += L'\\';
    result += c;
  }
  return result;
}

std::wstring HexByte(std::uint8_t byte) {
  static const wchar_t kDigits[] = L"0123456789ABCDEF";
  return {kDigits[byte >> 4], kDigits[byte & 0xF]};
}

std::wstring DwordText(const RegValue& value) {
  wchar_t text[16];
  std::swprintf(text, 16, L"dword:%08X", static_cast<unsigned>(platform::RegValueDword(value)));
  return text;
}

std::wstring BinaryText(const RegValue& value) {
  std::wstring text = L"hex:";
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    if (i > 0) text += L',';
    text += HexByte(value.data[i]);
  }
  return text;
}

bool IsStringType(std::uint32_t type) { return type == RegType::kSz || type == RegType::kExpandSz; }

// The value text; empty for a type the file does not carry. The display
// form escapes only double quotes; the file form also doubles backslashes.
std::wstring ValueText(const RegValue& value, bool file_form) {
  if (IsStringType(value.type)) {
    const std::wstring text = platform::RegValueText(value);
    return L"\"" + Escape(text, file_form ? L"\\\"" : L"\"") + L"\"";
  }
  if (value.type == RegType::kDword) return DwordText(value);
  if (value.type == RegType::kBinary) return BinaryText(value);
  return {};
}

enum class Lookup { kNoKey, kNoValue, kFound };

Lookup ReadValue(const std::wstring& root_name, const std::wstring& key, const std::wstring& name,
                 RegValue* value) {
  const auto root = scan::RootKeyFromName(root_name);
  if (!root || !Ok(platform::Reg().KeyExists(*root, key))) return Lookup::kNoKey;
  if (!Ok(platform::Reg().QueryValue(*root, key, name, value))) return Lookup::kNoValue;
  return Lookup::kFound;
}

// The topic notation's line in file form. A backslash before a double quote
// that is neither the line's last character nor followed by "=" escapes
// that quote and stays single; every other backslash is doubled.
std::wstring TopicLineToFileForm(const std::wstring& line) {
  std::wstring result;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const wchar_t c = line[i];
    if (c != L'\\') {
      result += c;
      continue;
    }
    const bool quote_follows = i + 1 < line.size() && line[i + 1] == L'"';
    const bool closes = i + 2 >= line.size() || line[i + 2] == L'=';
    if (quote_follows && !closes) {
      result += L"\\\"";
      ++i;
      continue;
    }
    result += L"\\\\";
  }
  const std::wstring upper = L"=DWORD:";
  for (std::size_t at = result.find(upper); at != std::wstring::npos;
       at = result.find(upper, at)) {
    result.replace(at, upper.size(), L"=dword:");
  }
  return result;
}

}  // namespace

TRegExporter::TRegExporter() {
  FStream = {0xFF, 0xFE};
  AppendUtf16(&FStream, kHeader);
}

void TRegExporter::AppendSection(const std::wstring& root, const std::wstring& key,
                                 const std::wstring& value_line) {
  AppendUtf16(&FStream, L"[" + root + L"\\" + key + L"]\r\n" + value_line + L"\r\n\r\n");
}

void TRegExporter::AppendRaw(const std::wstring& text) { AppendUtf16(&FStream, text); }

void TRegExporter::AddRegItem(const std::wstring& aRoot, const std::wstring& aKey,
                              const std::wstring& aSectionValue) {
  if (aSectionValue.empty()) return;
  AppendSection(aRoot, aKey, TopicLineToFileForm(aSectionValue));
}

void TRegExporter::AddItem(const std::wstring& aRoot, const std::wstring& aKey,
                           const std::wstring& aSection) {
  // A key that cannot be opened holds nothing to back up; a section for it
  // would create the key with an empty value on restore.
  RegValue value;
  if (ReadValue(aRoot, aKey, aSection, &value) != Lookup::kFound) return;
  const std::wstring text = ValueText(value, /*file_form=*/true);
  if (text.empty()) return;
  const std::wstring name = aSection.empty() ? L"@" : L"\"" + Escape(aSection, L"\\\"") + L"\"";
  AppendSection(aRoot, aKey, name + L"=" + text);
}

bool TRegExporter::SaveToFile(const std::wstring& aFileName, std::wstring* error) const {
  if (Ok(platform::Files().WriteFileAtomic(aFileName, FStream))) return true;
  if (error) *error = aFileName + L": cannot be written";
  return false;
}

RegValueLine FormatRegValueLine(const std::wstring& root, const std::wstring& key,
                                const std::wstring& valueName) {
  RegValueLine result;
  RegValue value;
  const Lookup found = ReadValue(root, key, valueName, &value);
  if (found == Lookup::kNoValue) {
    result.nameText = L"\"" + valueName + L"\"";
    result.valueText = kNotFound;
    return result;
  }
  if (found == Lookup::kFound) {
    result.valueText = ValueText(value, /*file_form=*/false);
    if (result.valueText.empty()) return result;  // unsupported type
  }
  result.nameText = valueName.empty() ? L"@" : L"\"" + Escape(valueName, L"\\") + L"\"";
  if (result.valueText.empty()) result.valueText = L"\"\"";
  result.line = result.nameText + L"=" + result.valueText;
  return result;
}

bool ImportRegFile(const std::wstring& path) {
  platform::FileEntry entry;
  if (!Ok(platform::Files().Stat(path, &entry)) || entry.IsFolder()) return false;
  return platform::MergeRegFile(path, kImportTimeoutMs, nullptr);
}

}  // namespace brimlow::cure
