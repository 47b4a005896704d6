// brimlow-cli export KEY FILE: writes the key KEY (with its root's full or
// short name, "HKEY_CURRENT_USER\Software\X") and everything below it to
// FILE in the registry editor's own export layout (UTF-16LE, every value
// type kept). Exit code 0 on success, 1 with a reason on standard error
// when the root is unknown, the key is missing or the file cannot be
// written.
//
// FILE is a Windows path; the host build also takes a host path.

#include <CLI/CLI.hpp>

#include <memory>
#include <string>

#include "app/cli/Cli.h"
#include "app/cli/CliTexts.h"
#include "app/cli/SettingsContext.h"
#include "base/Text.h"
#include "platform/Platform.h"
#include "platform/RegistryEditor.h"
#include "platform/SystemSession.h"
#include "regfile/RegFile.h"

namespace brimlow::cli {
namespace {

struct ExportOptions {
  std::string key;
  std::string file;
};

int RunExport(const ExportOptions& options, const GlobalOptions& global) {
  platform::SystemSession session;
  std::wstring error;
  if (!session.Open(FromUtf8(global.system), &error)) return SettingsContext::Fail(error);
  const std::wstring key = FromUtf8(options.key);
  platform::RegRoot root{};
  std::wstring path;
  if (!regfile::SplitRootKey(key, &root, &path)) {
    return SettingsContext::Fail(AppText(L"Cli.UnknownRootKey", L"{1}: unknown root key", {key}));
  }
  regfile::RegFileWriter writer;
  const platform::Result exported = regfile::ExportKeyTree(platform::Reg(), root, path, &writer);
  if (exported == platform::Result::kNotFound) {
    return SettingsContext::Fail(AppText(L"Cli.NoSuchKey", L"{1}: no such key", {key}));
  }
  if (!Ok(exported)) return SettingsContext::Fail(AppText(L"Cli.CannotRead", L"{1}: cannot be read", {key}));
  const std::wstring file = platform::PathFromArgument(FromUtf8(options.file));
  if (!Ok(platform::Files().WriteFileAtomic(file, writer.FileBytes()))) {
    return SettingsContext::Fail(AppText(L"Cli.CannotWrite", L"{1}: cannot be written", {file}));
  }
  return 0;
}

}  // namespace

void RegisterExport(CLI::App& app, const GlobalOptions& global, Action* chosen) {
  CLI::App* command = app.add_subcommand("export", "Write a registry key and its subkeys to a .reg file");
  auto options = std::make_shared<ExportOptions>();
  command->add_option("KEY", options->key, "Key with its root name")->required();
  command->add_option("FILE", options->file, "The .reg file to write")->required();
  command->callback(
      [=, &global] { *chosen = [=, &global] { return RunExport(*options, global); }; });
}

}  // namespace brimlow::cli
