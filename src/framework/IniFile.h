#pragma once
// An INI document held in memory: "[section]" header lines and Name=Value
// lines. Section and key names compare without regard to case and keep the
// case and order they were first written with. Names and values are trimmed
// of surrounding blanks; empty lines, lines beginning with ";", lines before
// the first section and lines without "=" are dropped when parsing. A
// section that occurs twice is merged into the first; a key that occurs
// twice answers with its first value.
//
// Files are read and written through platform::Files(). A leading
// byte-order mark selects UTF-8 or UTF-16LE; without one the bytes are the
// program's 8-bit code page. Saving keeps the encoding the file was read
// with, except that text the 8-bit code page cannot hold is saved as UTF-8
// with a byte-order mark rather than turned into question marks.
//
// Not thread-safe; each document belongs to one thread at a time.

#include <string>
#include <vector>

#include "base/Text.h"
#include "platform/Result.h"

namespace brimlow {

enum class TextEncoding { kAnsi, kUtf8Bom, kUtf16LeBom };

// Text of file bytes: the byte-order mark (when present) picks the
// encoding, otherwise the 8-bit code page. *encoding (optional) receives it.
std::wstring DecodeText(const Bytes& bytes, TextEncoding* encoding = nullptr);
// File bytes of a text in the encoding, with the byte-order mark it implies.
Bytes EncodeText(const std::wstring& text, TextEncoding encoding);
// kAnsi when every character survives the 8-bit code page, else kUtf8Bom.
TextEncoding EncodingThatHolds(const std::wstring& text, TextEncoding preferred);

class IniFile {
 public:
  struct Entry {
    std::wstring name;
    std::wstring value;
  };
  struct Section {
    std::wstring name;
    std::vector<Entry> entries;
  };

  // Replaces the content by the parsed text.
  void LoadFromText(const std::wstring& text);
  // The content as lines ending in CR LF, a blank line between sections.
  std::wstring ToText() const;

  // Replaces the content by the file's. A missing file gives an empty
  // document and returns kNotFound; kFailed (content emptied) when the file
  // exists but cannot be read.
  platform::Result LoadFromFile(const std::wstring& path);
  // Writes the whole document atomically: a crash leaves the old or the new
  // file, never a mixture. kOk on success, kFailed otherwise.
  platform::Result SaveToFile(const std::wstring& path) const;

  void Clear();

  bool SectionExists(const std::wstring& section) const;
  bool ValueExists(const std::wstring& section, const std::wstring& name) const;
  // true and *value when the key is present (an empty value counts).
  bool Find(const std::wstring& section, const std::wstring& name, std::wstring* value) const;
  // The value, or fallback when the key is absent.
  std::wstring ReadString(const std::wstring& section, const std::wstring& name,
                          const std::wstring& fallback) const;

  // Sets the value, adding the section and the key at their ends if new.
  // Line breaks in the value become blanks: one value stays one line.
  void WriteString(const std::wstring& section, const std::wstring& name,
                   const std::wstring& value);
  void EraseSection(const std::wstring& section);
  void DeleteKey(const std::wstring& section, const std::wstring& name);

  // Sections in file order; nullptr when absent.
  const std::vector<Section>& Sections() const { return sections_; }
  const Section* FindSection(const std::wstring& section) const;
  // Replaces the whole list of sections (used to reorder them).
  void SetSections(std::vector<Section> sections) { sections_ = std::move(sections); }

  TextEncoding encoding() const { return encoding_; }
  void set_encoding(TextEncoding encoding) { encoding_ = encoding; }

 private:
  Section* MutableSection(const std::wstring& section);

  std::vector<Section> sections_;
  TextEncoding encoding_ = TextEncoding::kAnsi;
};

}  // namespace brimlow
