#include "framework/utils/Paths.h"

namespace brimlow {
namespace {

// Index of the last "\" or ":"; npos when there is neither.
std::size_t LastDelimiter(std::wstring_view path) { return path.find_last_of(L"\\:"); }

}  // namespace

std::wstring NormalizeSlashes(std::wstring_view path) {
  std::wstring result(path);
  for (wchar_t& c : result) {
    if (c == L'/') c = L'\\';
  }
  return result;
}

std::wstring AddTrailingBackslash(std::wstring_view path) {
  if (path.empty()) return std::wstring();
  std::wstring result = NormalizeSlashes(path);
  if (result.back() != L'\\') result += L'\\';
  return result;
}

std::wstring CombinePath(std::wstring_view base, std::wstring_view name) {
  if (name.find(L':') != std::wstring_view::npos) return NormalizeSlashes(name);
  if (base.size() >= 2 && base[0] == L'\\' && base[1] == L'\\') return NormalizeSlashes(name);
  if (base.size() < 2 || base[1] != L':') return std::wstring(name);

  const std::wstring d = NormalizeSlashes(name);
  const std::wstring b = AddTrailingBackslash(base);
  if (d.size() >= 2 && d[0] == L'\\') return b.substr(0, 2) + d;
  return b + d;
}

std::wstring PathBesideFile(std::wstring_view file_path, std::wstring_view name) {
  return CombinePath(ExtractFilePath(file_path), name);
}

std::wstring ExtractFilePath(std::wstring_view path) {
  const std::size_t pos = LastDelimiter(path);
  if (pos == std::wstring_view::npos) return std::wstring();
  return std::wstring(path.substr(0, pos + 1));
}

std::wstring ExtractFileName(std::wstring_view path) {
  const std::size_t pos = LastDelimiter(path);
  if (pos == std::wstring_view::npos) return std::wstring(path);
  return std::wstring(path.substr(pos + 1));
}

std::wstring ExtractFileExt(std::wstring_view path) {
  const std::wstring name = ExtractFileName(path);
  const std::size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return std::wstring();
  return name.substr(dot);
}

std::wstring ExtractFileTitle(std::wstring_view path) {
  std::wstring name = ExtractFileName(path);
  const std::size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.resize(dot);
  return name;
}

}  // namespace brimlow
