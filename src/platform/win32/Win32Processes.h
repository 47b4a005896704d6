// Win32 platform only.
#pragma once
// Starting programs, the shell's verbs and the single-instance mutex on the
// machine's own process API.

#include <mutex>
#include <vector>

#include "platform/Process.h"

namespace brimlow::platform::win32 {

class Win32Processes : public Processes {
 public:
  Win32Processes() = default;
  ~Win32Processes() override;

  bool Start(const StartInfo& info) override;
  bool ShellExecute(const std::wstring& verb, const std::wstring& file,
                    const std::wstring& parameters, std::wstring* error) override;
  // Also false when the mutex exists but belongs to another user's session
  // (the platform then refuses access to it): that is another instance too.
  bool CreateInstanceMutex(const std::wstring& name) override;

 private:
  std::mutex mutex_;
  std::vector<void*> instance_mutexes_;  // guarded by mutex_; kept open for the process's life
};

}  // namespace brimlow::platform::win32
