// Win32 platform only.
#include "platform/win32/Win32ShellLinks.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlguid.h>
#include <shobjidl.h>

namespace brimlow::platform::win32 {
namespace {

// The longest target the program reads from a link.
constexpr int kMaxTarget = 1024;

// Initialises COM for the current thread for one call unless the thread
// already has an apartment.
class ComScope {
 public:
  ComScope() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // S_FALSE (already initialised the same way) must be balanced too;
    // RPC_E_CHANGED_MODE means the thread has another apartment: leave it.
    owned_ = hr == S_OK || hr == S_FALSE;
  }
  ~ComScope() {
    if (owned_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool owned_ = false;
};

// Releases a COM interface when it goes out of scope.
template <typename T>
class Ref {
 public:
  ~Ref() {
    if (ptr_) ptr_->Release();
  }
  T** out() { return &ptr_; }
  void** out_void() { return reinterpret_cast<void**>(&ptr_); }
  T* operator->() const { return ptr_; }

 private:
  T* ptr_ = nullptr;
};

std::wstring ReadTarget(const std::wstring& link_file) {
  Ref<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.out_void())))
    return L"";
  Ref<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.out_void()))) return L"";
  if (FAILED(file->Load(link_file.c_str(), STGM_READ))) return L"";
  wchar_t target[kMaxTarget + 1] = {};
  if (link->GetPath(target, kMaxTarget, nullptr, SLGP_UNCPRIORITY) != S_OK) return L"";
  return target;
}

}  // namespace

std::wstring Win32ShellLinks::Target(const std::wstring& link_file) {
  ComScope com;
  return ReadTarget(link_file);
}

}  // namespace brimlow::platform::win32
