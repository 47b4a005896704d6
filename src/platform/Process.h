#pragma once
// Starting programs. Start functions report only whether the process was
// started; exit codes are never read.

#include <cstdint>
#include <string>

namespace brimlow::platform {

struct StartInfo {
  std::wstring application;   // may be empty: the command line names it
  std::wstring command_line;  // the whole command line, program included
  std::wstring working_folder;  // empty: inherit
  bool hidden = false;
  bool inherit_handles = false;
  bool wait = false;
  std::int32_t timeout_ms = -1;  // with wait; -1 waits without limit
};

class Processes {
 public:
  virtual ~Processes() = default;

  // Starts the program (CreateProcessW semantics); with wait, waits at most
  // the time-out. true when the process started.
  virtual bool Start(const StartInfo& info) = 0;

  // Asks the shell to act on a file or URL with a verb ("open", "runas").
  // On failure stores the platform's error message in *error.
  virtual bool ShellExecute(const std::wstring& verb, const std::wstring& file,
                            const std::wstring& parameters, std::wstring* error) = 0;

  // Creates a named mutex and keeps it for the life of the process; false
  // when it already existed (another instance holds it).
  virtual bool CreateInstanceMutex(const std::wstring& name) = 0;
};

}  // namespace brimlow::platform
