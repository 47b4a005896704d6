// The text helpers the checks share: command lines reduced to the file they
// start, environment references, and comma text.

#include "base/Text.h"
#include "framework/utils/Paths.h"
#include "framework/utils/TextUtils.h"
#include "platform/Platform.h"
#include "scan/FigRule.h"
#include "scan/FileProbe.h"

namespace brimlow::scan {
namespace {

void DeleteAll(std::wstring& text, std::wstring_view what) {
  for (auto pos = text.find(what); pos != std::wstring::npos; pos = text.find(what, pos)) {
    text.erase(pos, what.size());
  }
}

void CutAfterFirst(std::wstring& text, wchar_t ch) {
  const auto pos = text.find(ch);
  if (pos != std::wstring::npos) text.resize(pos + 1);
}

// Index just past the last "\" or ":", 0 when there is none.
std::size_t NamePartStart(const std::wstring& text) {
  const auto pos = text.find_last_of(L"\\:");
  return pos == std::wstring::npos ? 0 : pos + 1;
}

FileProbe& ProbeOrDirect(FileProbe* probe) { return probe ? *probe : DirectFileProbe(); }

}  // namespace

std::wstring ExpandEnvVariable(const std::wstring& text) {
  std::vector<std::wstring> pieces;
  SplitText(text, L'%', &pieces);
  if (pieces.size() < 3) return text;
  return platform::Env().Variable(pieces[1]) + pieces[2];
}

ResolvedCommand ResolveCommandFile(const std::wstring& command, FileProbe* probe) {
  std::wstring text = command.substr(0, command.find(L','));
  text = UpperCase(text);
  DeleteAll(text, L"RUNDLL32.EXE");
  text = UpperCase(Trim(text));
  DeleteAll(text, L"RUNDLL32");
  text = Trim(text);

  const std::size_t split = NamePartStart(text);
  const std::wstring folder = text.substr(0, split);
  std::wstring name = text.substr(split);
  CutAfterFirst(name, L'"');
  CutAfterFirst(name, L' ');
  CutAfterFirst(name, L',');

  std::wstring path = folder + name;
  DeleteAll(path, L"\"");
  path = Trim(ExpandEnvVariable(path));
  return {path, ProbeOrDirect(probe).FileExists(path)};
}

bool SourceFolderExists(const std::wstring& text, FileProbe* probe) {
  std::wstring folder = text.substr(0, NamePartStart(text));
  DeleteAll(folder, L"\"");
  return ProbeOrDirect(probe).FolderExists(folder);
}

std::vector<std::wstring> SplitCommaText(const std::wstring& text) {
  std::vector<std::wstring> fields;
  const std::wstring upper = UpperCase(text);
  const std::size_t n = upper.size();
  auto blank = [&](std::size_t i) { return i < n && upper[i] <= L' '; };
  std::size_t i = 0;
  while (blank(i)) ++i;
  while (i < n) {
    std::wstring field;
    if (upper[i] == L'"') {
      // A quoted field; "" inside stands for one quote.
      for (++i; i < n; ++i) {
        if (upper[i] != L'"') {
          field.push_back(upper[i]);
        } else if (i + 1 < n && upper[i + 1] == L'"') {
          field.push_back(L'"');
          ++i;
        } else {
          ++i;
          break;
        }
      }
    } else {
      while (i < n && upper[i] > L' ' && upper[i] != L',') field.push_back(upper[i++]);
    }
    fields.push_back(std::move(field));
    while (blank(i)) ++i;
    if (i < n && upper[i] == L',') {
      if (i + 1 == n) fields.emplace_back();
      do {
        ++i;
      } while (blank(i));
    }
  }
  return fields;
}

}  // namespace brimlow::scan
