// brimlow-cli restore-point create [DESCRIPTION] | view: a system restore
// point through the platform's System Restore client, and the platform's
// System Restore program.
//
// The description defaults to the setting "APP.NAME" + " Restore point".
// The tool needs the System Restore client only here, so only here does a
// missing client stop it (with the program's start-up warning, exit code 1).

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

#include "app/cli/Cli.h"
#include "app/cli/CliTexts.h"
#include "app/cli/SettingsContext.h"
#include "base/Text.h"
#include "platform/RestorePoints.h"

namespace brimlow::cli {
namespace {

struct RestorePointOptions {
  std::string description;
  bool has_description = false;
};

int RunCreate(const RestorePointOptions& options, const GlobalOptions& global) {
  SettingsContext context;
  std::wstring error;
  if (!context.Open(global.system, &error)) return SettingsContext::Fail(error);
  int missing = platform::RequireSystemRestoreClient(
      platform::SystemClientLibrary(), [](const std::wstring& warning) { SettingsContext::Fail(warning); });
  if (missing != 0) return missing;
  const std::wstring description = options.has_description
                                       ? FromUtf8(options.description)
                                       : context.Settings().GetSettingString(L"APP.NAME") + L" Restore point";
  std::uint32_t status = 0;
  if (!platform::CreateRestorePoint(description, &status)) {
    const std::wstring text = AppText(L"Cannot create restore point.", L"Cannot create restore point.");
    return SettingsContext::Fail(
        AppText(L"Cli.RestorePointStatus", L"{1} (status {2})", {text, std::to_wstring(status)}));
  }
  SettingsContext::Print(AppText(L"MSGBox.RestorePointCreated", L"Restore point created."));
  return 0;
}

int RunView(const GlobalOptions& global) {
  SettingsContext context;
  std::wstring error;
  if (!context.Open(global.system, &error)) return SettingsContext::Fail(error);
  switch (platform::StartSystemRestoreProgram()) {
    case platform::ProgramStart::kStarted: return 0;
    case platform::ProgramStart::kMissing:
      return SettingsContext::Fail(
          AppText(L"MSGBox.RSTRUI", L"The System Restore program was not found on this computer."));
    case platform::ProgramStart::kNotStarted: break;
  }
  return SettingsContext::Fail(
      AppText(L"Cli.RestoreProgramNotStarted", L"the System Restore program could not be started"));
}

}  // namespace

void RegisterRestorePoint(CLI::App& app, const GlobalOptions& global, Action* chosen) {
  CLI::App* command = app.add_subcommand("restore-point", "System restore points");
  command->require_subcommand(1);

  auto options = std::make_shared<RestorePointOptions>();
  CLI::App* create = command->add_subcommand("create", "Create a system restore point");
  create->add_option("DESCRIPTION", options->description, "Description (default: APP.NAME + \" Restore point\")");
  create->callback([=, &global] {
    options->has_description = create->count("DESCRIPTION") > 0;
    *chosen = [=, &global] { return RunCreate(*options, global); };
  });

  CLI::App* view = command->add_subcommand("view", "Start the platform's System Restore program");
  view->callback([=, &global] { *chosen = [&global] { return RunView(global); }; });
}

}  // namespace brimlow::cli
