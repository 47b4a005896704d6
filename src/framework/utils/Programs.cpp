#include "framework/utils/Programs.h"

#include "base/Text.h"
#include "framework/utils/Paths.h"
#include "framework/utils/RegStrings.h"
#include "platform/Platform.h"

namespace brimlow {
namespace {

constexpr wchar_t kBrowserCommandKey[] = L"HTTP\\shell\\open\\command";

std::wstring ReplaceAll(std::wstring text, std::wstring_view from, std::wstring_view to) {
  std::size_t pos = 0;
  while ((pos = text.find(from, pos)) != std::wstring::npos) {
    text.replace(pos, from.size(), to);
    pos += to.size();
  }
  return text;
}

// A double quote inside the address would end the quoted argument and let
// the rest of the address pass as further browser options. It is no valid
// address character anyway; its escaped form means the same to a browser.
std::wstring QuoteSafeUrl(const std::wstring& url) { return ReplaceAll(url, L"\"", L"%22"); }

}  // namespace

PlatformError::PlatformError(const std::wstring& message)
    : std::runtime_error(ToUtf8(message)), message_(message) {}

bool RunProgram(const std::wstring& file, const std::wstring& parameters, bool hidden, bool wait,
                int timeout_ms) {
  platform::StartInfo info;
  if (!file.empty()) {
    const std::wstring path = PathBesideFile(GetAppDir(), file);
    info.command_line = L"\"" + path + L"\" " + parameters;
    info.working_folder = ExtractFilePath(path);
  } else {
    info.command_line = parameters;
  }
  info.hidden = hidden;
  info.inherit_handles = false;
  info.wait = wait;
  info.timeout_ms = timeout_ms;
  return platform::Procs().Start(info);
}

bool RunProgramAndWait(const std::wstring& file, const std::wstring& parameters, bool flag,
                       int timeout_ms) {
  return RunProgram(file, parameters, flag, flag, timeout_ms);
}

bool RunCommand(const std::wstring& file, const std::wstring& command_line,
                const std::wstring& working_folder, int timeout_ms, bool wait, bool hidden) {
  platform::StartInfo info;
  info.command_line = command_line;
  info.working_folder = working_folder;
  if (!file.empty()) {
    info.application = PathBesideFile(GetAppDir(), file);
    if (info.working_folder.empty()) info.working_folder = ExtractFilePath(info.application);
  }
  info.hidden = hidden;
  info.inherit_handles = true;
  info.wait = wait;
  info.timeout_ms = timeout_ms;
  return platform::Procs().Start(info);
}

void RunElevated(OwnerWindow /*owner*/, const std::wstring& file, const std::wstring& parameters) {
  std::wstring error;
  if (platform::Procs().ShellExecute(L"runas", file, parameters, &error)) return;
  throw PlatformError(error);
}

bool OpenUrlInBrowser(OwnerWindow /*owner*/, const std::wstring& url) {
  std::wstring command =
      RegReadStringDef(platform::RegRoot::kClassesRoot, kBrowserCommandKey, L"", L"");
  if (command.empty()) {
    std::wstring ignored;
    platform::Procs().ShellExecute(L"open", url, L"", &ignored);
    return true;
  }
  const std::wstring safe_url = QuoteSafeUrl(url);
  if (command.find(L"%1") != std::wstring::npos) {
    command = ReplaceAll(std::move(command), L"%1", safe_url);
  } else {
    command += L"  \"" + safe_url + L"\"";
  }
  platform::StartInfo info;
  info.command_line = command;
  return platform::Procs().Start(info);
}

}  // namespace brimlow
