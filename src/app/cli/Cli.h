#pragma once
// The command-line tool's shared pieces: options every sub-command has, the
// output helpers, and the registration hook of each sub-command.

#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace brimlow::cli {

struct GlobalOptions {
  std::string system;  // --system DIR (stand-in build)
};

// A sub-command adds itself to the app and returns the action to run when
// it was chosen; the action returns the process exit code.
using Action = std::function<int()>;
using Registration = std::function<void(CLI::App& app, const GlobalOptions& options,
                                        Action* chosen)>;

// The sub-commands, in the order --help lists them.
const std::vector<Registration>& Commands();

// Runs the tool on UTF-8 arguments (argv[0] included).
int Run(std::vector<std::string> args);

}  // namespace brimlow::cli
