// Writing registry-editor files in the editor's own export layout.

#include <cassert>

#include "regfile/RegFile.h"
#include "regfile/RegFileDecode.h"

namespace brimlow::regfile {
namespace {

using platform::RegValue;
namespace RegType = platform::RegType;

// The editor breaks a hex list once a line has reached this many
// characters, so that no line (with its ",\") exceeds 80 columns.
constexpr std::size_t kHexLineLimit = 77;
constexpr wchar_t kLineEnd[] = L"\r\n";

std::wstring Quote(std::wstring_view text) {
  std::wstring quoted = L"\"";
  for (const wchar_t c : text) {
    if (c == L'\\' || c == L'"') quoted += L'\\';
    quoted += c;
  }
  return quoted + L'"';
}

std::wstring NamePart(const std::wstring& name) { return name.empty() ? L"@" : Quote(name); }

// The text of a REG_SZ value when its bytes are exactly one line of text
// and its terminating zero; nothing otherwise. Line breaks cannot stand in
// a quoted string.
bool CleanStringText(const RegValue& value, std::wstring* text) {
  if (value.type != RegType::kSz) return false;
  const Bytes& data = value.data;
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  *text = FromUtf16LeBytes(data.data(), data.size() - 2);
  if (data[data.size() - 2] != 0 || data[data.size() - 1] != 0) return false;
  return text->find_first_of(std::wstring_view(L"\0\r\n", 3)) == std::wstring::npos;
}

constexpr wchar_t kDigits[] = L"0123456789abcdef";

// Lower-case hex, at least min_digits long.
std::wstring HexNumber(std::uint32_t number, std::size_t min_digits) {
  std::wstring text;
  for (; number != 0 || text.size() < min_digits; number >>= 4) {
    text.insert(text.begin(), kDigits[number & 0xF]);
  }
  return text;
}

// "hex:" or "hex(N):" and the bytes, wrapped after the line has reached
// kHexLineLimit characters; continuation lines are indented by two spaces.
std::wstring HexData(const RegValue& value, std::size_t column) {
  std::wstring text =
      value.type == RegType::kBinary ? L"hex:" : L"hex(" + HexNumber(value.type, 1) + L"):";
  column += text.size();
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    text += kDigits[value.data[i] >> 4];
    text += kDigits[value.data[i] & 0xF];
    if (i + 1 == value.data.size()) break;
    text += L',';
    column += 3;
    if (column >= kHexLineLimit) {
      text += L"\\\r\n  ";
      column = 2;
    }
  }
  return text;
}

}  // namespace

std::wstring FormatValueLine(const RegValue& value) {
  std::wstring line = NamePart(value.name) + L'=';
  std::wstring text;
  if (CleanStringText(value, &text)) return line + Quote(text);
  if (value.type == RegType::kDword && value.data.size() == 4) {
    return line + L"dword:" + HexNumber(platform::RegValueDword(value), 8);
  }
  return line + HexData(value, line.size());
}

RegFileWriter::RegFileWriter() : text_(std::wstring(kHeader5) + kLineEnd + kLineEnd) {}

std::wstring RegFileWriter::SectionsText() const {
  return text_.substr(std::wstring_view(kHeader5).size() + 2 * std::wstring_view(kLineEnd).size());
}

void RegFileWriter::AddKey(const std::wstring& full_key) {
  text_ += L'[' + full_key + L']' + kLineEnd + kLineEnd;
  has_section_ = true;
}

void RegFileWriter::AddKeyDeletion(const std::wstring& full_key) {
  text_ += L"[-" + full_key + L']' + kLineEnd + kLineEnd;
  has_section_ = false;
}

void RegFileWriter::AddValue(const RegValue& value) { AddLine(FormatValueLine(value)); }

void RegFileWriter::AddValueDeletion(const std::wstring& name) {
  AddLine(NamePart(name) + L"=-");
}

// Value lines go before the blank line that closes the current section.
void RegFileWriter::AddLine(const std::wstring& line) {
  assert(has_section_ && "a value needs a [key] section before it");
  text_.insert(text_.size() - 2, line + kLineEnd);
}

Bytes RegFileWriter::FileBytes() const {
  Bytes bytes{0xFF, 0xFE};
  const Bytes text = ToUtf16LeBytes(text_);
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

}  // namespace brimlow::regfile
