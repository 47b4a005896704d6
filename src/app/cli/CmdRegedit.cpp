// brimlow-cli regedit [/s] FILE: merges a registry-editor file into the
// registry -- this machine's through its registry editor on Windows, the
// system image's on the stand-in. "/s" (silent) is accepted as the editor
// takes it; the command never asks anyway and prints nothing on success.
//
// The file is checked first, so that a malformed one is reported with its
// line and merges nothing on either build. Exit code 0 on success, 1 with
// "FILE:LINE: reason" (or another reason) on standard error otherwise.
//
// FILE is a Windows path; the host build also takes a host path.

#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

#include "app/cli/Cli.h"
#include "app/cli/CliPaths.h"
#include "app/cli/CliTexts.h"
#include "app/cli/SettingsContext.h"
#include "base/Text.h"
#include "platform/Platform.h"
#include "platform/RegistryEditor.h"
#include "platform/SystemSession.h"
#include "regfile/RegFile.h"

namespace brimlow::cli {
namespace {

struct RegeditOptions {
  std::vector<std::string> args;  // [/s] FILE
};

bool CheckRegFile(const std::wstring& path, std::wstring* error) {
  Bytes content;
  if (!ReadArgumentFile(path, &content, error)) return false;
  std::vector<regfile::RegOp> ops;
  regfile::ParseError parse_error;
  if (regfile::ParseRegFile(content, &ops, &parse_error)) return true;
  *error = path + L":" + std::to_wstring(parse_error.line) + L": " + parse_error.message;
  return false;
}

int RunRegedit(const RegeditOptions& options, const GlobalOptions& global) {
  std::vector<std::string> args = options.args;
  if (args.size() == 2 && SameText(FromUtf8(args[0]), L"/s")) args.erase(args.begin());
  if (args.size() != 1) {
    return SettingsContext::Fail(AppText(L"Cli.RegeditArguments", L"regedit: expected [/s] FILE"));
  }
  platform::SystemSession session;
  std::wstring error;
  if (!session.Open(FromUtf8(global.system), &error)) return SettingsContext::Fail(error);
  const std::wstring path = platform::PathFromArgument(FromUtf8(args[0]));
  if (!CheckRegFile(path, &error)) return SettingsContext::Fail(error);
  if (!platform::MergeRegFile(path, -1, &error)) return SettingsContext::Fail(error);
  return 0;
}

}  // namespace

void RegisterRegedit(CLI::App& app, const GlobalOptions& global, Action* chosen) {
  CLI::App* regedit = app.add_subcommand("regedit", "Merge a .reg file into the registry");
  auto options = std::make_shared<RegeditOptions>();
  // "/s" is an argument of its own here, as the registry editor takes it,
  // not a Windows-style spelling of an option "-s" (which the Windows build
  // would otherwise read it as, and refuse).
  regedit->allow_windows_style_options(false);
  regedit->add_option("args", options->args, "[/s] FILE")->required()->expected(1, 2);
  regedit->callback(
      [=, &global] { *chosen = [=, &global] { return RunRegedit(*options, global); }; });
}

}  // namespace brimlow::cli
