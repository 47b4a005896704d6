// Win32 platform only.
#include "platform/win32/Win32Processes.h"

#include <windows.h>
#include <shellapi.h>
#undef ShellExecute  // the seam's method, not the platform's macro

#include "platform/win32/Win32Error.h"

namespace brimlow::platform::win32 {

Win32Processes::~Win32Processes() {
  // The mutexes stand for this process's instance until it ends; the
  // platform releases them then. Nothing to close earlier.
}

bool Win32Processes::Start(const StartInfo& info) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  if (info.hidden) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring command_line = info.command_line;
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessW(
      info.application.empty() ? nullptr : info.application.c_str(),
      command_line.empty() ? nullptr : command_line.data(), nullptr, nullptr,
      // A command that inherits handles asks for the normal priority class
      // outright; a plain start takes the default.
      info.inherit_handles ? TRUE : FALSE, info.inherit_handles ? NORMAL_PRIORITY_CLASS : 0,
      nullptr, info.working_folder.empty() ? nullptr : info.working_folder.c_str(), &startup,
      &process);
  if (!started) return false;
  if (info.wait) {
    const DWORD timeout = info.timeout_ms < 0 ? INFINITE : static_cast<DWORD>(info.timeout_ms);
    WaitForSingleObjectEx(process.hProcess, timeout, TRUE);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool Win32Processes::ShellExecute(const std::wstring& verb, const std::wstring& file,
                                  const std::wstring& parameters, std::wstring* error) {
  SHELLEXECUTEINFOW execute = {};
  execute.cbSize = sizeof(execute);
  execute.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  execute.lpVerb = verb.empty() ? nullptr : verb.c_str();
  execute.lpFile = file.c_str();
  execute.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  execute.nShow = SW_SHOWNORMAL;
  if (ShellExecuteExW(&execute)) return true;
  if (error) *error = ErrorMessage(GetLastError());
  return false;
}

bool Win32Processes::CreateInstanceMutex(const std::wstring& name) {
  HANDLE handle = CreateMutexW(nullptr, FALSE, name.c_str());
  const DWORD error = GetLastError();
  if (handle && error == ERROR_ALREADY_EXISTS) {
    CloseHandle(handle);
    return false;
  }
  if (!handle) return error != ERROR_ACCESS_DENIED;
  std::lock_guard<std::mutex> lock(mutex_);
  instance_mutexes_.push_back(handle);
  return true;
}

}  // namespace brimlow::platform::win32
