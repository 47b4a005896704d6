// brimlow-cli scan [--topics FILE] [--all] [--category NAME]... [--topic
// NAME]... [--no-pacing] [--json]: one scan of the chosen topics.
//
// On a terminal a progress bar runs on standard error; then the findings
// are printed by category with their message. --json prints one object per
// event instead: CategoryStarted, TopicMatched, TopicFinished,
// CategoryFinished ... and last Finished or Aborted with the Summary and
// ProcessedTime. Ctrl+C stops the scan and still prints the aborted report.
//
// Exit code 0 after a finished scan, 130 after Ctrl+C, 1 with a reason on
// standard error for a missing database, a bad system image or bad options.

#include <CLI/CLI.hpp>

#include <memory>

#include "app/cli/Cli.h"
#include "app/cli/Interrupt.h"
#include "app/cli/ScanRun.h"
#include "app/cli/SettingsContext.h"
#include "base/PortableMainLoop.h"
#include "base/Text.h"
#include "platform/SystemSession.h"

namespace brimlow::cli {
namespace {

int RunScan(const ScanOptions& options, const GlobalOptions& global) {
  platform::SystemSession session;
  std::wstring error;
  if (!session.Open(FromUtf8(global.system), &error)) return SettingsContext::Fail(error);
  PortableMainLoop loop;
  ScanRun scan(loop, options);
  if (!scan.Prepare(&error)) return SettingsContext::Fail(error);
  return scan.Run() ? 0 : kInterruptedExitCode;
}

}  // namespace

void RegisterScan(CLI::App& app, const GlobalOptions& global, Action* chosen) {
  CLI::App* command = app.add_subcommand("scan", "Scan the registry and files for the chosen topics");
  auto options = std::make_shared<ScanOptions>();
  AddScanOptions(command, options.get());
  command->callback([=, &global] { *chosen = [=, &global] { return RunScan(*options, global); }; });
}

}  // namespace brimlow::cli
