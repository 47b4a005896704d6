#include "framework/IniFile.h"

#include "platform/Platform.h"

namespace brimlow {
namespace {

bool StartsWithBytes(const Bytes& bytes, std::initializer_list<std::uint8_t> prefix) {
  if (bytes.size() < prefix.size()) return false;
  std::size_t i = 0;
  for (std::uint8_t b : prefix) {
    if (bytes[i++] != b) return false;
  }
  return true;
}

}  // namespace

std::wstring DecodeText(const Bytes& bytes, TextEncoding* encoding) {
  TextEncoding found = TextEncoding::kAnsi;
  std::wstring text;
  if (StartsWithBytes(bytes, {0xEF, 0xBB, 0xBF})) {
    found = TextEncoding::kUtf8Bom;
    text = FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()) + 3,
                                     bytes.size() - 3));
  } else if (StartsWithBytes(bytes, {0xFF, 0xFE})) {
    found = TextEncoding::kUtf16LeBom;
    text = FromUtf16LeBytes(bytes.data() + 2, bytes.size() - 2);
  } else {
    text = FromAnsi(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  if (encoding) *encoding = found;
  return text;
}

Bytes EncodeText(const std::wstring& text, TextEncoding encoding) {
  Bytes out;
  switch (encoding) {
    case TextEncoding::kAnsi: {
      const std::string ansi = ToAnsi(text);
      out.assign(ansi.begin(), ansi.end());
      break;
    }
    case TextEncoding::kUtf8Bom: {
      const std::string utf8 = ToUtf8(text);
      out = {0xEF, 0xBB, 0xBF};
      out.insert(out.end(), utf8.begin(), utf8.end());
      break;
    }
    case TextEncoding::kUtf16LeBom: {
      out = {0xFF, 0xFE};
      const Bytes units = ToUtf16LeBytes(text);
      out.insert(out.end(), units.begin(), units.end());
      break;
    }
  }
  return out;
}

TextEncoding EncodingThatHolds(const std::wstring& text, TextEncoding preferred) {
  if (preferred != TextEncoding::kAnsi) return preferred;
  return FromAnsi(ToAnsi(text)) == text ? TextEncoding::kAnsi : TextEncoding::kUtf8Bom;
}

void IniFile::LoadFromText(const std::wstring& text) {
  sections_.clear();
  Section* current = nullptr;
  for (const std::wstring& raw : SplitLines(text)) {
    const std::wstring line = Trim(raw);
    if (line.empty() || line[0] == L';') continue;
    if (line.front() == L'[' && line.back() == L']') {
      const std::wstring name = Trim(line.substr(1, line.size() - 2));
      current = MutableSection(name);
      if (!current) {
        sections_.push_back(Section{name, {}});
        current = &sections_.back();
      }
      continue;
    }
    const std::size_t eq = line.find(L'=');
    if (!current || eq == std::wstring::npos) continue;
    const std::wstring name = Trim(line.substr(0, eq));
    if (name.empty()) continue;
    current->entries.push_back(Entry{name, Trim(line.substr(eq + 1))});
  }
}

std::wstring IniFile::ToText() const {
  std::wstring text;
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    if (i > 0) text += L"\r\n";
    text += L"[" + sections_[i].name + L"]\r\n";
    for (const Entry& e : sections_[i].entries) text += e.name + L"=" + e.value + L"\r\n";
  }
  return text;
}

platform::Result IniFile::LoadFromFile(const std::wstring& path) {
  Clear();
  Bytes bytes;
  const platform::Result r = platform::Files().ReadFile(path, &bytes);
  if (r != platform::Result::kOk) return r;
  LoadFromText(DecodeText(bytes, &encoding_));
  return platform::Result::kOk;
}

platform::Result IniFile::SaveToFile(const std::wstring& path) const {
  const std::wstring text = ToText();
  return platform::Files().WriteFileAtomic(path,
                                           EncodeText(text, EncodingThatHolds(text, encoding_)));
}

void IniFile::Clear() {
  sections_.clear();
  encoding_ = TextEncoding::kAnsi;
}

const IniFile::Section* IniFile::FindSection(const std::wstring& section) const {
  for (const Section& s : sections_) {
    if (SameText(s.name, section)) return &s;
  }
  return nullptr;
}

IniFile::Section* IniFile::MutableSection(const std::wstring& section) {
  return const_cast<Section*>(FindSection(section));
}

bool IniFile::SectionExists(const std::wstring& section) const {
  return FindSection(section) != nullptr;
}

bool IniFile::Find(const std::wstring& section, const std::wstring& name,
                   std::wstring* value) const {
  const Section* s = FindSection(section);
  if (!s) return false;
  for (const Entry& e : s->entries) {
    if (!SameText(e.name, name)) continue;
    if (value) *value = e.value;
    return true;
  }
  return false;
}

bool IniFile::ValueExists(const std::wstring& section, const std::wstring& name) const {
  return Find(section, name, nullptr);
}

std::wstring IniFile::ReadString(const std::wstring& section, const std::wstring& name,
                                 const std::wstring& fallback) const {
  std::wstring value;
  return Find(section, name, &value) ? value : fallback;
}

void IniFile::WriteString(const std::wstring& section, const std::wstring& name,
                          const std::wstring& raw_value) {
  // A line break would turn the rest of the value into lines of their own
  // (even a section header) when the file is read back.
  std::wstring value = raw_value;
  for (wchar_t& c : value) {
    if (c == L'\r' || c == L'\n') c = L' ';
  }
  Section* s = MutableSection(section);
  if (!s) {
    sections_.push_back(Section{section, {}});
    s = &sections_.back();
  }
  for (Entry& e : s->entries) {
    if (SameText(e.name, name)) {
      e.value = value;
      return;
    }
  }
  s->entries.push_back(Entry{name, value});
}

void IniFile::EraseSection(const std::wstring& section) {
  std::erase_if(sections_, [&](const Section& s) { return SameText(s.name, section); });
}

void IniFile::DeleteKey(const std::wstring& section, const std::wstring& name) {
  Section* s = MutableSection(section);
  if (!s) return;
  std::erase_if(s->entries, [&](const Entry& e) { return SameText(e.name, name); });
}

}  // namespace brimlow
