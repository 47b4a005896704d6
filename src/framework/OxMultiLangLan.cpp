#include "framework/OxMultiLangLan.h"

#include <algorithm>
#include <iterator>

#include "framework/utils/NameValueList.h"
#include "platform/Platform.h"

namespace brimlow {
namespace {

// Sections kept by ClearAllForm; the first five also lead when sorting.
const wchar_t* const kResourceSections[] = {L"Info", L"BasicRes", L"SkinRes", L"LibRes",
                                            L"AppRes"};

bool IsResourceSection(const std::wstring& name) {
  return std::any_of(std::begin(kResourceSections), std::end(kResourceSections),
                     [&](const wchar_t* s) { return SameText(name, s); });
}

bool StartsWithAt(const std::wstring& text, std::size_t at, std::wstring_view mark) {
  return at + mark.size() <= text.size() && SameText(text.substr(at, mark.size()), mark);
}

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const std::wstring& line : lines) text += line + L"\r\n";
  return text;
}

}  // namespace

std::wstring UnescapeLangValue(const std::wstring& value) {
  std::wstring out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size();) {
    if (StartsWithAt(value, i, L"<BR>")) {
      out += L"\r\n";
      i += 4;
    } else if (StartsWithAt(value, i, L"<SP>")) {
      out += L' ';
      i += 4;
    } else {
      out += value[i++];
    }
  }
  return out;
}

std::wstring EscapeLangValue(const std::wstring& value) {
  std::wstring out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const wchar_t c = value[i];
    if (c != L'\r' && c != L'\n') {
      out += c;
      continue;
    }
    if (c == L'\r' && i + 1 < value.size() && value[i + 1] == L'\n') ++i;
    out += L"<BR>";
  }
  return out;
}

std::wstring LangKey(const std::wstring& strComp, const std::wstring& strProp) {
  return strComp.empty() ? strProp : strComp + L"." + strProp;
}

TOxMultiLangLan::TOxMultiLangLan() = default;

bool TOxMultiLangLan::LoadFromFile(const std::wstring& fn) {
  Bytes bytes;
  if (!platform::Ok(platform::Files().ReadFile(fn, &bytes))) return false;
  TextEncoding encoding = TextEncoding::kAnsi;
  LoadFromString(DecodeText(bytes, &encoding));
  FIniData.set_encoding(encoding);
  return true;
}

void TOxMultiLangLan::LoadFromString(const std::wstring& str) {
  SetLines(SplitLines(str));
  ApplyData();
}

bool TOxMultiLangLan::SaveToFile(const std::wstring& fn) {
  SortData();
  const std::wstring text = ToString();
  const Bytes bytes = EncodeText(text, EncodingThatHolds(text, FIniData.encoding()));
  return platform::Ok(platform::Files().WriteFileAtomic(fn, bytes));
}

std::wstring TOxMultiLangLan::ToString() { return JoinLines(Lines()); }

void TOxMultiLangLan::AssignTo(TOxMultiLangLan& dest) {
  if (&dest == this) return;
  dest.LoadFromString(ToString());
  dest.FIniData.set_encoding(FIniData.encoding());
}

void TOxMultiLangLan::ClearAll() {
  FData.clear();
  FIniData.Clear();
  FbModified = false;
  FbToApply = false;
}

void TOxMultiLangLan::ClearAllForm() {
  ApplyData();
  std::vector<IniFile::Section> kept;
  for (const IniFile::Section& s : FIniData.Sections()) {
    if (IsResourceSection(s.name)) kept.push_back(s);
  }
  FIniData.SetSections(std::move(kept));
  Changed();
}

bool TOxMultiLangLan::GetProp(const std::wstring& strForm, const std::wstring& strComp,
                              const std::wstring& strProp, std::wstring* strValue) {
  ApplyData();
  std::wstring raw;
  if (!FIniData.Find(strForm, LangKey(strComp, strProp), &raw)) return false;
  *strValue = UnescapeLangValue(raw);
  return true;
}

void TOxMultiLangLan::SetProp(const std::wstring& strForm, const std::wstring& strComp,
                              const std::wstring& strProp, const std::wstring& strValue) {
  ApplyData();
  FIniData.WriteString(strForm, LangKey(strComp, strProp), EscapeLangValue(strValue));
  Changed();
}

void TOxMultiLangLan::ClearForm(const std::wstring& strForm) {
  ApplyData();
  FIniData.EraseSection(strForm);
  Changed();
}

void TOxMultiLangLan::GetSectionStrings(const std::wstring& strSection,
                                        std::vector<std::wstring>* sl) {
  ApplyData();
  const IniFile::Section* section = FIniData.FindSection(strSection);
  if (!section) return;
  for (const IniFile::Entry& e : section->entries) {
    SetListValue(sl, e.name, UnescapeLangValue(e.value));
  }
}

void TOxMultiLangLan::SortData() {
  ApplyData();
  std::vector<IniFile::Section> sorted;
  std::vector<IniFile::Section> rest;
  for (const wchar_t* name : kResourceSections) {
    const IniFile::Section* s = FIniData.FindSection(name);
    if (s && !s->entries.empty()) sorted.push_back(*s);
  }
  for (const IniFile::Section& s : FIniData.Sections()) {
    if (!IsResourceSection(s.name)) rest.push_back(s);
  }
  const auto by_name = [](const auto& a, const auto& b) { return CompareText(a.name, b.name) < 0; };
  std::stable_sort(rest.begin(), rest.end(), by_name);
  sorted.insert(sorted.end(), rest.begin(), rest.end());
  for (IniFile::Section& s : sorted) {
    if (!SameText(s.name, L"Info")) std::stable_sort(s.entries.begin(), s.entries.end(), by_name);
  }
  FIniData.SetSections(std::move(sorted));
  Changed();
}

void TOxMultiLangLan::UpdateData() {
  if (!FbModified) return;
  FData = SplitLines(FIniData.ToText());
  FbModified = false;
}

void TOxMultiLangLan::ApplyData() {
  if (!FbToApply) return;
  FIniData.LoadFromText(JoinLines(FData));
  FbToApply = false;
}

const std::vector<std::wstring>& TOxMultiLangLan::Lines() {
  UpdateData();
  return FData;
}

void TOxMultiLangLan::SetLines(std::vector<std::wstring> lines) {
  FData = std::move(lines);
  FbModified = false;
  FbToApply = true;
}

const IniFile& TOxMultiLangLan::Ini() {
  ApplyData();
  return FIniData;
}

void TOxMultiLangLan::Changed() {
  FbModified = true;
  UpdateData();
}

}  // namespace brimlow
