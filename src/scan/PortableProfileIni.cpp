// The portable INI reader. It follows the platform's profile functions line
// for line, so that both builds read the topic database alike:
//   - lines end at CR LF, LF or CR; blanks (space, tab) around a line, a key
//     and a value do not count;
//   - "[name]" starts a section (up to the last "]"); a "[" line without
//     "]" is an ordinary line;
//   - "key=value" up to the first "="; a line without "=" is a key without
//     value, which reads as the default and is not listed with the keys;
//   - only the first section of a name, and in it the first key of a name,
//     is ever read;
//   - one pair of enclosing double or single quotes is removed and the
//     value cut to 2047 characters.

#include <cstdint>
#include <optional>
#include <vector>

#include "base/Text.h"
#include "platform/Platform.h"
#include "scan/ProfileIni.h"

namespace brimlow::scan {
namespace {

constexpr std::size_t kMaxValue = 2047;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view TrimBlanks(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A value as the profile functions hand it out.
std::wstring CopyEntry(std::wstring_view value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::wstring(value.substr(0, kMaxValue));
}

struct Entry {
  std::wstring key;
  std::optional<std::wstring> value;  // none: the line has no "="
  int line = 0;
};

struct Section {
  std::wstring name;
  std::vector<Entry> entries;
};

enum class Encoding { kAnsi, kUtf8, kUtf16 };

std::wstring Decode(const Bytes& bytes, Encoding* encoding) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    *encoding = Encoding::kUtf16;
    return FromUtf16LeBytes(bytes.data() + 2, bytes.size() - 2);
  }
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    *encoding = Encoding::kUtf8;
    return FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()) + 3,
                                     bytes.size() - 3));
  }
  *encoding = Encoding::kAnsi;
  return FromAnsi(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' && text[i] != L'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

class PortableProfile : public ProfileIni {
 public:
  explicit PortableProfile(std::wstring path) : path_(std::move(path)) { Load(); }
  ~PortableProfile() override { Flush(); }

  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& default_value) override {
    const Entry* entry = FindEntry(section, key);
    if (entry && entry->value) return CopyEntry(*entry->value);
    // The platform drops trailing spaces of the default before copying it.
    std::wstring_view fallback = default_value;
    while (!fallback.empty() && fallback.back() == L' ') fallback.remove_suffix(1);
    return CopyEntry(fallback);
  }

  std::vector<std::wstring> ReadSection(const std::wstring& section) override {
    std::vector<std::wstring> keys;
    const Section* found = FindSection(section);
    if (!found) return keys;
    for (const Entry& entry : found->entries) {
      // Lines without "=" (comments among them) are no keys of the section.
      if (!entry.value) continue;
      if (!entry.key.empty() && entry.key.front() == L';') continue;
      keys.push_back(entry.key);
    }
    return keys;
  }

  bool WriteString(const std::wstring& section, const std::wstring& key,
                   const std::wstring& value) override {
    const std::wstring section_name(TrimBlanks(section));
    const std::wstring key_name(TrimBlanks(key));
    std::wstring stored(TrimBlanks(value));
    Section* target = FindSection(section_name);
    if (!target) target = &sections_.emplace_back(Section{section_name, {}});
    dirty_ = true;
    for (Entry& entry : target->entries) {
      if (!SameText(entry.key, key_name)) continue;
      entry.value = std::move(stored);
      return true;
    }
    target->entries.push_back(Entry{key_name, std::move(stored), 0});
    return true;
  }

  bool Flush() override {
    if (!dirty_) return true;
    std::wstring text;
    for (const Section& section : sections_) {
      if (!text.empty()) text += L"\r\n";
      if (!section.name.empty() || &section != &sections_.front()) {
        text += L"[" + section.name + L"]\r\n";
      }
      for (const Entry& entry : section.entries) {
        text += entry.key;
        if (entry.value) text += L"=" + *entry.value;
        text += L"\r\n";
      }
    }
    if (!Ok(platform::Files().WriteFileAtomic(path_, Encode(text)))) return false;
    dirty_ = false;
    return true;
  }

  int KeyLine(const std::wstring& section, const std::wstring& key) {
    const Entry* entry = FindEntry(section, key);
    return entry ? entry->line : 0;
  }

 private:
  void Load() {
    // Lines before the first section header belong to a section without a
    // name, which no lookup finds; it is kept so that a rewrite keeps them.
    sections_.push_back(Section{});
    Bytes bytes;
    if (!Ok(platform::Files().ReadFile(path_, &bytes))) return;
    const std::wstring text = Decode(bytes, &encoding_);
    int number = 0;
    for (std::wstring_view line : SplitLines(text)) {
      ++number;
      line = TrimBlanks(line);
      if (line.empty()) continue;
      if (line.front() == L'[') {
        const std::size_t close = line.rfind(L']');
        if (close != std::wstring_view::npos) {
          sections_.push_back(Section{std::wstring(line.substr(1, close - 1)), {}});
          continue;
        }
      }
      sections_.back().entries.push_back(ParseEntry(line, number));
    }
  }

  static Entry ParseEntry(std::wstring_view line, int number) {
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) return Entry{std::wstring(line), std::nullopt, number};
    return Entry{std::wstring(TrimBlanks(line.substr(0, equals))),
                 std::wstring(TrimBlanks(line.substr(equals + 1))), number};
  }

  Bytes Encode(const std::wstring& text) const {
    if (encoding_ == Encoding::kUtf16) {
      Bytes bytes = {0xFF, 0xFE};
      const Bytes body = ToUtf16LeBytes(text);
      bytes.insert(bytes.end(), body.begin(), body.end());
      return bytes;
    }
    const std::string narrow = encoding_ == Encoding::kUtf8 ? ToUtf8(text) : ToAnsi(text);
    Bytes bytes;
    if (encoding_ == Encoding::kUtf8) bytes = {0xEF, 0xBB, 0xBF};
    bytes.insert(bytes.end(), narrow.begin(), narrow.end());
    return bytes;
  }

  Section* FindSection(std::wstring_view name) {
    const std::wstring_view wanted = TrimBlanks(name);
    // The unnamed section before the first header is never found.
    for (std::size_t i = 1; i < sections_.size(); ++i) {
      if (SameText(sections_[i].name, wanted)) return &sections_[i];
    }
    return nullptr;
  }

  const Entry* FindEntry(const std::wstring& section, const std::wstring& key) {
    const Section* found = FindSection(section);
    if (!found) return nullptr;
    const std::wstring_view wanted = TrimBlanks(key);
    for (const Entry& entry : found->entries) {
      if (SameText(entry.key, wanted)) return &entry;
    }
    return nullptr;
  }

  std::wstring path_;
  std::vector<Section> sections_;
  Encoding encoding_ = Encoding::kAnsi;
  bool dirty_ = false;
};

}  // namespace

std::unique_ptr<ProfileIni> OpenPortableProfileIni(const std::wstring& path) {
  return std::make_unique<PortableProfile>(path);
}

int ProfileKeyLine(const std::wstring& path, const std::wstring& section,
                   const std::wstring& key) {
  return PortableProfile(path).KeyLine(section, key);
}

}  // namespace brimlow::scan
