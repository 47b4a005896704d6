// Reading registry-editor files: one pass over the lines, stopping at the
// first line the editor would not accept.

#include <cstdint>
#include <cwctype>
#include <optional>

#include "regfile/RegFile.h"
#include "regfile/RegFileDecode.h"

namespace brimlow::regfile {
namespace {

using platform::RegValue;
namespace RegType = platform::RegType;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// A position in one line of the file.
struct Cursor {
  const std::wstring* line = nullptr;
  std::size_t pos = 0;

  bool AtEnd() const { return pos >= line->size(); }
  wchar_t Peek() const { return AtEnd() ? L'\0' : (*line)[pos]; }
  void SkipBlanks() {
    while (!AtEnd() && IsBlank((*line)[pos])) ++pos;
  }
  bool Take(std::wstring_view word) {
    if (line->compare(pos, word.size(), word) != 0) return false;
    pos += word.size();
    return true;
  }
  // Nothing but blanks and an optional comment up to the line end.
  bool RestIsEmpty() {
    SkipBlanks();
    return AtEnd() || Peek() == L';';
  }
};

class Parser {
 public:
  explicit Parser(const DecodedFile& file) : file_(file) {}

  bool Run(std::vector<RegOp>* ops, ParseError* error) {
    if (file_.version == RegFileVersion::kUnknown) {
      Fail(1, L"not a registry file: the first line must be \"" + std::wstring(kHeader5) +
                  L"\" or \"" + kHeader4 + L"\"");
    }
    for (index_ = 1; !failed_ && index_ < file_.lines.size(); ++index_) {
      if (!ParseLine()) break;
    }
    if (failed_) {
      *error = error_;
      return false;
    }
    *ops = std::move(ops_);
    return true;
  }

 private:
  int LineNumber() const { return static_cast<int>(index_) + 1; }

  bool Fail(int line, std::wstring message) {
    failed_ = true;
    error_ = ParseError{line, std::move(message)};
    ops_.clear();
    return false;
  }
  bool Fail(std::wstring message) { return Fail(LineNumber(), std::move(message)); }

  bool ParseLine() {
    Cursor cursor{&file_.lines[index_], 0};
    cursor.SkipBlanks();
    if (cursor.RestIsEmpty()) return true;
    switch (cursor.Peek()) {
      case L'[':
        return ParseSection(cursor);
      case L'@':
      case L'"':
        return ParseValue(cursor);
      default:
        return Fail(L"unrecognised line: expected a [key], a value or a comment");
    }
  }

  // "[KEY]" or "[-KEY]", with the name up to the last closing bracket.
  bool ParseSection(Cursor cursor) {
    const std::wstring& line = *cursor.line;
    const auto close = line.rfind(L']');
    if (close == std::wstring::npos || close < cursor.pos) {
      return Fail(L"key line without closing bracket");
    }
    Cursor after{&line, close + 1};
    if (!after.RestIsEmpty()) return Fail(L"text after the closing bracket of a key");
    std::wstring key = line.substr(cursor.pos + 1, close - cursor.pos - 1);
    const bool deletion = !key.empty() && key[0] == L'-';
    if (deletion) key.erase(0, 1);
    if (!NormalizeKey(&key)) return false;
    if (deletion && key.find(L'\\') == std::wstring::npos) {
      return Fail(L"a root key cannot be deleted");
    }
    section_ = key;
    section_deleted_ = deletion;
    const auto kind = deletion ? RegOp::Kind::kDeleteKey : RegOp::Kind::kCreateKey;
    ops_.push_back(RegOp{kind, std::move(key), {}, LineNumber()});
    return true;
  }

  // Checks the root and the path's parts; drops one trailing backslash.
  bool NormalizeKey(std::wstring* key) {
    if (!key->empty() && key->back() == L'\\') key->pop_back();
    platform::RegRoot root;
    std::wstring path;
    if (key->empty() || !SplitRootKey(*key, &root, &path)) {
      return Fail(L"unknown root key in \"" + *key + L"\"");
    }
    if (key->find(L'\\') != std::wstring::npos && path.empty()) {
      return Fail(L"empty key name in \"" + *key + L"\"");
    }
    std::size_t start = 0;
    while (start <= path.size() && !path.empty()) {
      auto end = path.find(L'\\', start);
      if (end == std::wstring::npos) end = path.size();
      if (end == start) return Fail(L"empty key name in \"" + *key + L"\"");
      if (end - start > 255) return Fail(L"key name longer than 255 characters");
      start = end + 1;
    }
    return true;
  }

  bool ParseValue(Cursor cursor) {
    if (section_.empty()) return Fail(L"value before the first [key] line");
    if (section_deleted_) return Fail(L"value under a deleted [-key]");
    const int first_line = LineNumber();
    RegValue value;
    if (!cursor.Take(L"@")) {
      auto name = ParseQuoted(cursor, L"value name");
      if (!name) return false;
      value.name = std::move(*name);
    }
    cursor.SkipBlanks();
    if (!cursor.Take(L"=")) return Fail(L"expected = after the value name");
    cursor.SkipBlanks();
    if (cursor.Take(L"-")) {
      if (!cursor.RestIsEmpty()) return Fail(L"text after =-");
      ops_.push_back(RegOp{RegOp::Kind::kDeleteValue, section_, std::move(value), first_line});
      return true;
    }
    if (!ParseData(cursor, &value)) return false;
    ops_.push_back(RegOp{RegOp::Kind::kSetValue, section_, std::move(value), first_line});
    return true;
  }

  bool ParseData(Cursor& cursor, RegValue* value) {
    if (cursor.Peek() == L'"') {
      auto text = ParseQuoted(cursor, L"string");
      if (!text) return false;
      if (!cursor.RestIsEmpty()) return Fail(L"text after the closing quote");
      *value = platform::MakeStringValue(std::move(value->name), *text);
      return true;
    }
    if (cursor.Take(L"dword:")) return ParseDword(cursor, value);
    if (cursor.Take(L"hex")) return ParseHexValue(cursor, value);
    return Fail(L"unknown value type: expected \"text\", dword:, hex: or hex(N):");
  }

  // Text between double quotes with \\ and \" escapes; a backslash before
  // any other character stays as it is.
  std::optional<std::wstring> ParseQuoted(Cursor& cursor, const wchar_t* what) {
    const std::wstring& line = *cursor.line;
    std::wstring text;
    for (std::size_t i = cursor.pos + 1; i < line.size(); ++i) {
      const wchar_t c = line[i];
      if (c == L'"') {
        cursor.pos = i + 1;
        return text;
      }
      if (c == L'\\' && i + 1 < line.size() && (line[i + 1] == L'\\' || line[i + 1] == L'"')) {
        text += line[++i];
        continue;
      }
      text += c;
    }
    Fail(std::wstring(L"unterminated ") + what + L": missing closing quote");
    return std::nullopt;
  }

  bool ParseDword(Cursor& cursor, RegValue* value) {
    std::uint32_t number = 0;
    int digits = 0;
    for (int d; (d = HexDigit(cursor.Peek())) >= 0; ++cursor.pos, ++digits) {
      if (digits == 8) return Fail(L"dword with more than 8 hex digits");
      number = (number << 4) | static_cast<std::uint32_t>(d);
    }
    if (digits == 0) return Fail(L"dword without hex digits");
    if (!cursor.RestIsEmpty()) return Fail(L"bad hex digit in dword");
    *value = platform::MakeDwordValue(std::move(value->name), number);
    return true;
  }

  // After "hex": ":" for binary or "(N):" with N in hex.
  bool ParseHexValue(Cursor& cursor, RegValue* value) {
    value->type = RegType::kBinary;
    if (cursor.Take(L"(")) {
      std::uint32_t type = 0;
      int digits = 0;
      for (int d; (d = HexDigit(cursor.Peek())) >= 0; ++cursor.pos, ++digits) {
        if (digits == 8) return Fail(L"value type number with more than 8 hex digits");
        type = (type << 4) | static_cast<std::uint32_t>(d);
      }
      if (digits == 0 || !cursor.Take(L")")) return Fail(L"bad value type number in hex(N):");
      value->type = type;
    }
    if (!cursor.Take(L":")) return Fail(L"expected : after hex");
    if (!ParseHexBytes(cursor, &value->data)) return false;
    if (file_.version == RegFileVersion::kVersion4 &&
        (value->type == RegType::kExpandSz || value->type == RegType::kMultiSz)) {
      value->data = ToUtf16LeBytes(
          FromAnsi(std::string(value->data.begin(), value->data.end())));
    }
    return true;
  }

  // Comma-separated bytes of one or two hex digits; a backslash at the end
  // of a line continues the list on the next line.
  bool ParseHexBytes(Cursor& cursor, Bytes* data) {
    for (;;) {
      if (cursor.RestIsEmpty()) return true;
      if (cursor.Take(L"\\")) {
        if (!cursor.RestIsEmpty()) return Fail(L"text after the continuation backslash");
        if (!NextContinuationLine(&cursor)) return false;
        continue;
      }
      int high = HexDigit(cursor.Peek());
      if (high < 0) return Fail(L"bad hex digit in hex data");
      ++cursor.pos;
      const int low = HexDigit(cursor.Peek());
      if (low >= 0) {
        ++cursor.pos;
        high = high * 16 + low;
      }
      if (HexDigit(cursor.Peek()) >= 0) return Fail(L"hex byte with more than 2 digits");
      if (std::iswalnum(cursor.Peek())) return Fail(L"bad hex digit in hex data");
      data->push_back(static_cast<std::uint8_t>(high));
      cursor.SkipBlanks();
      if (cursor.Take(L",") || cursor.Peek() == L'\\' || cursor.RestIsEmpty()) continue;
      return Fail(L"expected a comma between hex bytes");
    }
  }

  bool NextContinuationLine(Cursor* cursor) {
    if (index_ + 1 >= file_.lines.size()) {
      return Fail(L"hex data continues past the end of the file");
    }
    ++index_;
    *cursor = Cursor{&file_.lines[index_], 0};
    if (cursor->RestIsEmpty()) return Fail(L"expected the continued hex data");
    return true;
  }

  const DecodedFile& file_;
  std::size_t index_ = 0;
  std::wstring section_;  // full key of the current section, "" before the first
  bool section_deleted_ = false;
  std::vector<RegOp> ops_;
  bool failed_ = false;
  ParseError error_;
};

}  // namespace

bool ParseRegFile(const Bytes& content, std::vector<RegOp>* ops, ParseError* error) {
  ops->clear();
  const DecodedFile file = DecodeRegFile(content);
  return Parser(file).Run(ops, error);
}

}  // namespace brimlow::regfile
