#pragma once
// Stand-in platform only: starting host programs for Windows command lines
// (POSIX), and the instance mutex as a locked file.

#include <string>
#include <vector>

#include "platform/Process.h"
#include "platform/standin/DriveMap.h"

namespace brimlow::platform::standin {

// Splits a command line into arguments by the platform's rules: the program
// name ends at the first blank, or at the closing quote when it starts with
// one; later arguments honour quotes, "\"" escapes and doubled backslashes
// before a quote, and "" inside quotes as a literal quote.
std::vector<std::wstring> SplitCommandLine(const std::wstring& command_line);

class StandinProcesses : public Processes {
 public:
  // The map must outlive this object.
  explicit StandinProcesses(const DriveMap& drives) : drives_(drives) {}

  // A program named without a folder is looked up in the host's PATH; one
  // named by a Windows path runs from where the drive map puts it.
  bool Start(const StartInfo& info) override;
  // "open" of a URL or file goes to xdg-open (an executable file is run);
  // "runas" and other verbs are not available.
  bool ShellExecute(const std::wstring& verb, const std::wstring& file,
                    const std::wstring& parameters, std::wstring* error) override;
  // A file locked with flock() in $XDG_RUNTIME_DIR (else /tmp), held open
  // until the process ends.
  bool CreateInstanceMutex(const std::wstring& name) override;

 private:
  const DriveMap& drives_;
};

}  // namespace brimlow::platform::standin
