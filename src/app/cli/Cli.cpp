#include "app/cli/Cli.h"

#include <CLI/CLI.hpp>

#include <cstdio>

#include "app/cli/CliTexts.h"

namespace brimlow::cli {

int Run(std::vector<std::string> args) {
  // Until a command has read the settings, and for commands that do not
  // read them, the texts are the built-in English.
  UseBuiltinEnglish();
  CLI::App app{"Brimlow: scans the Windows registry and file system for problems and cures them.",
               "brimlow-cli"};
  app.set_version_flag("--version", std::string("brimlow-cli ") + BRIMLOW_VERSION);
  app.require_subcommand(0, 1);
  GlobalOptions options;
  app.add_option("--system", options.system,
                 "System image folder to work on (stand-in build; default: $BRIMLOW_SYSTEM, "
                 "else ~/.local/share/brimlow/system)");

  Action chosen;
  for (const auto& add : Commands()) add(app, options, &chosen);

  std::vector<std::string> reversed(args.rbegin(), args.rend() - 1);
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }
  if (!chosen) {
    std::fputs(app.help().c_str(), stdout);
    return 0;
  }
  return chosen();
}

}  // namespace brimlow::cli
