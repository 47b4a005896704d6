// Win32 only: the platform's registry editor and command-line paths.

#include <windows.h>

#include "platform/Platform.h"
#include "platform/RegistryEditor.h"

namespace brimlow::platform {

bool MergeRegFile(const std::wstring& path, int timeout_ms, std::wstring* error) {
  StartInfo info;
  std::wstring editor = Env().WindowsFolder();
  if (!editor.empty() && editor.back() != L'\\') editor += L'\\';
  editor += L"RegEdit.exe";
  info.application = editor;
  info.command_line = L"\"" + editor + L"\" /s \"" + path + L"\"";
  info.hidden = true;
  info.wait = true;
  info.timeout_ms = timeout_ms;
  if (Procs().Start(info)) return true;
  if (error) *error = editor + L": cannot be started";
  return false;
}

std::wstring PathFromArgument(const std::wstring& argument) {
  const DWORD size = GetFullPathNameW(argument.c_str(), 0, nullptr, nullptr);
  if (size == 0) return argument;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(argument.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return argument;
  full.resize(length);
  return full;
}

}  // namespace brimlow::platform
