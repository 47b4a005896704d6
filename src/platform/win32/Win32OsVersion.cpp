// Win32 platform only.
#include "platform/win32/Win32OsVersion.h"

#include <windows.h>

namespace brimlow::platform::win32 {
namespace {

// Looks a function up by name so the program still starts on systems that
// lack it.
template <typename Fn>
Fn Kernel32Function(const char* name) {
  HMODULE kernel32 = GetModuleHandleW(L"kernel32");
  if (!kernel32) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel32, name)));
}

std::uint16_t NativeArchitecture() {
  using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
  auto get_native = Kernel32Function<GetNativeSystemInfoFn>("GetNativeSystemInfo");
  if (!get_native) return OsArchitecture::kIntel;
  SYSTEM_INFO info = {};
  get_native(&info);
  return info.wProcessorArchitecture;
}

void FillBasic(const OSVERSIONINFOW& info, ReportedVersion* version) {
  version->major = info.dwMajorVersion;
  version->minor = info.dwMinorVersion;
  version->build = info.dwBuildNumber;
  version->platform_id = info.dwPlatformId;
  version->service_pack.assign(info.szCSDVersion,
                               wcsnlen(info.szCSDVersion, sizeof(info.szCSDVersion) / sizeof(wchar_t)));
}

}  // namespace

bool Win32OsVersion::Query(ReportedVersion* version) {
  ReportedVersion answer;
  OSVERSIONINFOEXW extended = {};
  extended.dwOSVersionInfoSize = sizeof(extended);
  if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended))) {
    answer.extended = true;
    FillBasic(*reinterpret_cast<OSVERSIONINFOW*>(&extended), &answer);
    answer.service_pack_major = extended.wServicePackMajor;
    answer.service_pack_minor = extended.wServicePackMinor;
    answer.suite_mask = extended.wSuiteMask;
    answer.product_type = extended.wProductType;
  } else {
    OSVERSIONINFOW basic = {};
    basic.dwOSVersionInfoSize = sizeof(basic);
    if (!GetVersionExW(&basic)) return false;
    FillBasic(basic, &answer);
  }
  answer.server_r2 = GetSystemMetrics(SM_SERVERR2);
  answer.native_architecture = NativeArchitecture();
  *version = answer;
  return true;
}

bool Win32OsVersion::IsWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto is_wow64 = Kernel32Function<IsWow64ProcessFn>("IsWow64Process");
  if (!is_wow64) return false;
  BOOL answer = FALSE;
  return is_wow64(GetCurrentProcess(), &answer) && answer;
}

}  // namespace brimlow::platform::win32
