#include "framework/utils/Windows.h"

#include "platform/Desktop.h"
#include "platform/Platform.h"

namespace brimlow {

bool IsFirstInstance(const std::wstring& mutex_name) {
  return platform::Procs().CreateInstanceMutex(mutex_name);
}

bool ForceForegroundWindow(OwnerWindow window) {
  return platform::Desk().ForceForegroundWindow(window);
}

void SetWindowTopMost(OwnerWindow window, bool on) { platform::Desk().SetWindowTopMost(window, on); }

std::uint32_t ComposeMail(OwnerWindow owner, const std::vector<std::wstring>& fields) {
  return platform::Desk().ComposeMail(owner, fields);
}

bool CheckFileAccess(std::uint32_t access_mask, const std::wstring& path) {
  return platform::Files().CheckAccess(access_mask, path);
}

int GetWindowsMajorVersion() { return platform::Env().WindowsMajorVersion(); }

}  // namespace brimlow
