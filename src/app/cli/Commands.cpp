#include "app/cli/Cli.h"

namespace brimlow::cli {

void RegisterSettings(CLI::App& app, const GlobalOptions& global, Action* chosen);
void RegisterLang(CLI::App& app, const GlobalOptions& global, Action* chosen);
void RegisterTopics(CLI::App& app, const GlobalOptions& global, Action* chosen);
void RegisterRegedit(CLI::App& app, const GlobalOptions& global, Action* chosen);
void RegisterExport(CLI::App& app, const GlobalOptions& global, Action* chosen);
void RegisterScan(CLI::App& app, const GlobalOptions& global, Action* chosen);
void RegisterCure(CLI::App& app, const GlobalOptions& global, Action* chosen);
void RegisterBackups(CLI::App& app, const GlobalOptions& global, Action* chosen);
void RegisterRestorePoint(CLI::App& app, const GlobalOptions& global, Action* chosen);

const std::vector<Registration>& Commands() {
  static const std::vector<Registration> commands = {
      RegisterSettings,
      RegisterLang,
      RegisterTopics,
      RegisterRegedit,
      RegisterExport,
      RegisterScan,
      RegisterCure,
      RegisterBackups,
      RegisterRestorePoint,
  };
  return commands;
}

}  // namespace brimlow::cli
