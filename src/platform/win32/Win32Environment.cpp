// Win32 platform only.
#include "platform/win32/Win32Environment.h"

#include <windows.h>

#include <functional>

namespace brimlow::platform::win32 {
namespace {

// Calls a platform function that fills a buffer and answers the length it
// wrote, or the size it needs when the buffer was too small, or 0 on
// failure. Starts with the platform's classic 260 characters and grows, so
// a longer answer is never cut.
std::wstring FillBuffer(const std::function<DWORD(wchar_t*, DWORD)>& fill) {
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return L"";
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(length > buffer.size() ? length + 1 : buffer.size() * 2);
  }
}

}  // namespace

std::wstring Win32Environment::Variable(const std::wstring& name) {
  return FillBuffer([&](wchar_t* buffer, DWORD size) {
    return GetEnvironmentVariableW(name.c_str(), buffer, size);
  });
}

std::wstring Win32Environment::Expand(const std::wstring& text) {
  if (text.empty()) return text;
  // ExpandEnvironmentStringsW counts the terminating zero in its answer.
  std::wstring expanded(text.size() + MAX_PATH, L'\0');
  while (true) {
    const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), expanded.data(),
                                                   static_cast<DWORD>(expanded.size()));
    if (needed == 0) return text;
    if (needed <= expanded.size()) {
      expanded.resize(needed - 1);
      return expanded;
    }
    expanded.resize(needed);
  }
}

std::wstring Win32Environment::AppFileName() {
  // GetModuleFileNameW answers the buffer size (cutting the path) when the
  // buffer is too small; FillBuffer then grows it.
  return FillBuffer(
      [](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
}

std::wstring Win32Environment::WindowsFolder() {
  return FillBuffer(
      [](wchar_t* buffer, DWORD size) { return GetWindowsDirectoryW(buffer, size); });
}

std::wstring Win32Environment::TempFolder() {
  return FillBuffer([](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
}

std::wstring Win32Environment::LongPath(const std::wstring& path) {
  return FillBuffer([&](wchar_t* buffer, DWORD size) {
    return GetLongPathNameW(path.c_str(), buffer, size);
  });
}

int Win32Environment::WindowsMajorVersion() {
  // The version as reported to the program (what GetVersionEx says for its
  // manifest), which is what the program's decisions are made on.
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExW(&info)) return 0;
  return static_cast<int>(info.dwMajorVersion);
}

}  // namespace brimlow::platform::win32
