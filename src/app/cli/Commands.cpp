#include "app/cli/Cli.h"

namespace brimlow::cli {

void RegisterSettings(CLI::App& app, const GlobalOptions& global, Action* chosen);
void RegisterLang(CLI::App& app, const GlobalOptions& global, Action* chosen);

const std::vector<Registration>& Commands() {
  static const std::vector<Registration> commands = {
      RegisterSettings,
      RegisterLang,
  };
  return commands;
}

}  // namespace brimlow::cli
