// Win32 only: the System Restore client "SRCLIENT.DLL", loaded at run time
// and kept loaded until the program ends.

#include <windows.h>
#include <srrestoreptapi.h>

#include <algorithm>
#include <cstring>

#include "platform/RestorePoints.h"

namespace brimlow::platform {
namespace {

using SetRestorePointW = BOOL(WINAPI*)(PRESTOREPOINTINFOW, PSTATEMGRSTATUS);

constexpr std::size_t kDescriptionLength = 128;

class Win32ClientLibrary : public ClientLibrary {
 public:
  bool Load(const std::wstring& file_name) override {
    if (!module_) module_ = LoadLibraryW(file_name.c_str());
    return module_ != nullptr;
  }
  bool HasEntryPoint(const char* name) override { return module_ && GetProcAddress(module_, name) != nullptr; }
  HMODULE Module() {
    Load(L"SRCLIENT.DLL");
    return module_;
  }

 private:
  HMODULE module_ = nullptr;
};

Win32ClientLibrary& Library() {
  static Win32ClientLibrary library;
  return library;
}

class Win32RestorePoints : public RestorePoints {
 public:
  std::uint32_t BeginRestorePoint(const std::wstring& description, std::int64_t* sequence) override {
    RESTOREPOINTINFOW info;
    std::memset(&info, 0, sizeof(info));
    info.dwEventType = BEGIN_SYSTEM_CHANGE;
    info.dwRestorePtType = APPLICATION_INSTALL;
    info.llSequenceNumber = 0;
    const std::size_t length = std::min(description.size(), kDescriptionLength);
    std::copy_n(description.c_str(), length, info.szDescription);
    return Call(&info, sequence);
  }

  std::uint32_t EndRestorePoint(std::int64_t sequence) override {
    RESTOREPOINTINFOW info;
    std::memset(&info, 0, sizeof(info));
    info.dwEventType = END_SYSTEM_CHANGE;
    info.dwRestorePtType = APPLICATION_INSTALL;
    info.llSequenceNumber = sequence;
    std::int64_t ignored = 0;
    return Call(&info, &ignored);
  }

 private:
  static std::uint32_t Call(RESTOREPOINTINFOW* info, std::int64_t* sequence) {
    STATEMGRSTATUS status;
    std::memset(&status, 0, sizeof(status));
    const HMODULE module = Library().Module();
    const auto set = module ? reinterpret_cast<SetRestorePointW>(
                                  reinterpret_cast<void*>(GetProcAddress(module, "SRSetRestorePointW")))
                            : nullptr;
    if (!set) return ERROR_PROC_NOT_FOUND;
    const BOOL done = set(info, &status);
    *sequence = status.llSequenceNumber;
    if (done) return 0;
    return status.nStatus != 0 ? status.nStatus : ERROR_GEN_FAILURE;
  }
};

}  // namespace

RestorePoints& DefaultRestorePoints() {
  static Win32RestorePoints points;
  return points;
}

ClientLibrary& SystemClientLibrary() { return Library(); }

}  // namespace brimlow::platform
