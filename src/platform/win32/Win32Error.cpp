// Win32 platform only.
#include "platform/win32/Win32Error.h"

namespace brimlow::platform::win32 {

Result ResultFromError(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS:
      return Result::kOk;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return Result::kNotFound;
    default:
      return Result::kFailed;
  }
}

std::wstring ErrorMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length == 0 || !text) return L"error " + std::to_wstring(error);
  std::wstring message(text, length);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' '))
    message.pop_back();
  return message;
}

HKEY RootKey(std::uint32_t root) {
  // The predefined handles are sign-extended 32-bit numbers on 64-bit
  // Windows, exactly as the platform's own HKEY_* constants spell them.
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

}  // namespace brimlow::platform::win32
