// Win32 platform only.
// Whether the current user may open a path with given rights: the file's
// security descriptor checked against the program's own token.

#include <windows.h>

#include <vector>

#include "platform/win32/Win32FileSystem.h"

namespace brimlow::platform::win32 {
namespace {

constexpr SECURITY_INFORMATION kDescriptorParts =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// The descriptor in a zero-filled buffer of the size the platform asks for
// plus 4096 bytes (room for a descriptor that grows between the calls).
bool ReadDescriptor(const std::wstring& path, std::vector<BYTE>* buffer) {
  DWORD needed = 0;
  GetFileSecurityW(path.c_str(), kDescriptorParts, nullptr, 0, &needed);
  if (needed == 0) return false;
  buffer->assign(needed + 4096, 0);
  return GetFileSecurityW(path.c_str(), kDescriptorParts,
                          reinterpret_cast<PSECURITY_DESCRIPTOR>(buffer->data()),
                          static_cast<DWORD>(buffer->size()), &needed) != 0;
}

// The access check itself, on a thread that impersonates the program.
bool CheckWithThreadToken(std::uint32_t generic_access, std::vector<BYTE>& descriptor) {
  HANDLE token = nullptr;
  if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY | TOKEN_IMPERSONATE | TOKEN_DUPLICATE,
                       TRUE, &token))
    return false;
  GENERIC_MAPPING mapping = {FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                             FILE_ALL_ACCESS};
  DWORD access = generic_access;
  MapGenericMask(&access, &mapping);
  PRIVILEGE_SET privileges = {};
  DWORD privileges_size = sizeof(privileges);
  DWORD granted = 0;
  BOOL verdict = FALSE;
  const BOOL checked =
      AccessCheck(reinterpret_cast<PSECURITY_DESCRIPTOR>(descriptor.data()), token, access,
                  &mapping, &privileges, &privileges_size, &granted, &verdict);
  CloseHandle(token);
  return checked && verdict;
}

}  // namespace

bool Win32FileSystem::CheckAccess(std::uint32_t generic_access, const std::wstring& path) {
  std::vector<BYTE> descriptor;
  if (!ReadDescriptor(path, &descriptor)) return false;
  if (!ImpersonateSelf(SecurityImpersonation)) return false;
  const bool allowed = CheckWithThreadToken(generic_access, descriptor);
  RevertToSelf();
  return allowed;
}

}  // namespace brimlow::platform::win32
