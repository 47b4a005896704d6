// Stand-in platform only (POSIX).
#include "platform/standin/StandinEnvironment.h"
#include "platform/standin/StandinOsVersion.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace brimlow::platform::standin {
namespace {

// Windows-like defaults, in dependency order: each may refer to the ones
// before it, whether they came from the file or from this list.
struct Default {
  const wchar_t* name;
  const wchar_t* value;
};
constexpr Default kDefaults[] = {
    {L"SystemDrive", L"C:"},
    {L"SystemRoot", L"%SystemDrive%\\Windows"},
    {L"windir", L"%SystemRoot%"},
    {L"USERNAME", nullptr},  // DefaultUserName()
    {L"USERPROFILE", L"%SystemDrive%\\users\\%USERNAME%"},
    {L"HOMEDRIVE", L"%SystemDrive%"},
    {L"HOMEPATH", L"\\users\\%USERNAME%"},
    {L"APPDATA", L"%USERPROFILE%\\AppData\\Roaming"},
    {L"LOCALAPPDATA", L"%USERPROFILE%\\AppData\\Local"},
    {L"ALLUSERSPROFILE", L"%SystemDrive%\\ProgramData"},
    {L"ProgramData", L"%SystemDrive%\\ProgramData"},
    {L"PUBLIC", L"%SystemDrive%\\users\\Public"},
    {L"ProgramFiles", L"%SystemDrive%\\Program Files"},
    {L"CommonProgramFiles", L"%ProgramFiles%\\Common Files"},
    {L"TEMP", L"%USERPROFILE%\\Temp"},
    {L"TMP", L"%TEMP%"},
    {L"ComSpec", L"%SystemRoot%\\system32\\cmd.exe"},
    {L"PATH", L"%SystemRoot%\\system32;%SystemRoot%"},
    {L"PATHEXT", L".COM;.EXE;.BAT;.CMD"},
    {L"OS", L"Windows_NT"},
    {L"COMPUTERNAME", L"BRIMLOW"},
    {L"BRIMLOW_WINDOWS_VERSION", L"6.1.7601"},
};

}  // namespace

StandinEnvironment::StandinEnvironment(const EnvVariables& from_file, const DriveMap& drives)
    : drives_(drives) {
  for (const auto& [name, value] : from_file) variables_[name] = value;
  for (const Default& d : kDefaults) {
    if (variables_.count(d.name)) continue;
    variables_[d.name] = d.value ? Expand(d.value) : DefaultUserName();
  }
}

std::wstring StandinEnvironment::Variable(const std::wstring& name) {
  const auto found = variables_.find(name);
  return found == variables_.end() ? std::wstring() : found->second;
}

std::wstring StandinEnvironment::Expand(const std::wstring& text) {
  std::wstring out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto open = text.find(L'%', pos);
    const auto close = open == std::wstring::npos ? open : text.find(L'%', open + 1);
    if (close == std::wstring::npos) break;
    out.append(text, pos, open - pos);
    if (close == open + 1) {
      // "%%": the second "%" may open a reference ("100%%TEMP%").
      out += L'%';
      pos = close;
      continue;
    }
    const auto found = variables_.find(text.substr(open + 1, close - open - 1));
    if (found != variables_.end()) {
      out += found->second;
    } else {
      out.append(text, open, close - open + 1);  // unknown: kept as it is
    }
    pos = close + 1;
  }
  out.append(text, std::min(pos, text.size()));
  return out;
}

std::wstring StandinEnvironment::AppFileName() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::wstring() : DriveMap::WindowsPath(exe);
}

std::wstring StandinEnvironment::WindowsFolder() {
  std::wstring folder = Variable(L"SystemRoot");
  while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return folder;
}

std::wstring StandinEnvironment::TempFolder() {
  std::wstring folder = Variable(L"TEMP");
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring StandinEnvironment::LongPath(const std::wstring& path) {
  const auto host = drives_.HostPath(path);
  struct stat st;
  if (host.empty() || ::lstat(host.c_str(), &st) != 0) return {};
  return path;
}

// Read through the version service so both report the same version,
// including its default when the image sets none.
int StandinEnvironment::WindowsMajorVersion() {
  ReportedVersion version;
  if (!StandinOsVersion(*this).Query(&version)) return 0;
  return static_cast<int>(version.major);
}

}  // namespace brimlow::platform::standin
