#pragma once
// Starting programs and opening web addresses. The starters report only
// whether the process was started; exit codes are never read. Any thread,
// except that RunCommand with wait blocks its caller for up to the
// time-out.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace brimlow {

// An opaque window handle (0: none).
using OwnerWindow = std::uintptr_t;

// The one error a general helper raises: the platform refused to start an
// elevated program. Holds the platform's own message.
class PlatformError : public std::runtime_error {
 public:
  explicit PlatformError(const std::wstring& message);
  const std::wstring& message() const { return message_; }

 private:
  std::wstring message_;
};

// Starts a program without handle inheritance. With a file (a relative name
// is taken beside the executable) the command line is the quoted path, a
// blank and the parameters, run in the file's folder; without one the
// parameters are the whole command line. With wait, waits at most timeout_ms
// (-1: no limit). true when the process started, also when the wait timed
// out.
bool RunProgram(const std::wstring& file, const std::wstring& parameters, bool hidden, bool wait,
                int timeout_ms);

// RunProgram with hidden = wait = flag.
bool RunProgramAndWait(const std::wstring& file, const std::wstring& parameters, bool flag,
                       int timeout_ms);

// Starts a program with inherited handles. With a file (taken beside the
// executable when relative) that file is the application and the command
// line is passed as given, in working_folder or else the file's folder;
// without one the command line names the program. With wait, waits at most
// timeout_ms (-1: no limit). true when the process started.
bool RunCommand(const std::wstring& file, const std::wstring& command_line,
                const std::wstring& working_folder, int timeout_ms, bool wait, bool hidden);

// Asks the shell to run the file as administrator (verb "runas") with the
// parameters, without waiting for it. Throws PlatformError with the
// platform's message when the shell refuses (the user declined, the file is
// missing ...). owner is the window a prompt belongs to.
void RunElevated(OwnerWindow owner, const std::wstring& file, const std::wstring& parameters);

// Opens the address in the registered web browser (the command of
// HKEY_CLASSES_ROOT "HTTP\shell\open\command"), or through the shell when
// no browser is registered (then always true). false when the browser's
// command could not be started.
bool OpenUrlInBrowser(OwnerWindow owner, const std::wstring& url);

}  // namespace brimlow
