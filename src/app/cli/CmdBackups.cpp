// brimlow-cli backups list|restore N|delete N: the restore centre without
// its window.
//
//   backups list [--backup-dir DIR] [--max-backup N] [--json]
//   backups restore N [...]   merges backup N back (1 = the newest)
//   backups delete N [...]    deletes backup N and its own index line
//
// Every command reads "info.rec" as the restore centre opens it: newest
// first, backups beyond "Backup.MaxBackup" (or --max-backup) removed.
// The human list is "N<TAB>date-time<TAB>changes<TAB>file"; --json gives one
// object per line: {"Row":1,"Datetime":"...","Changes":3,"File":"..."}.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

#include "app/cli/Cli.h"
#include "app/cli/CliPaths.h"
#include "app/cli/CliTexts.h"
#include "app/cli/SettingsContext.h"
#include "base/Text.h"
#include "cure/BackupIndex.h"
#include "framework/utils/TextUtils.h"
#include "platform/Platform.h"

namespace brimlow::cli {
namespace {

constexpr int kDefaultMaxBackup = 10;

struct BackupsOptions {
  std::string backup_dir;
  int max_backup = 0;  // 0: from the settings
  int row = 0;         // 1 = newest
  bool json = false;
};

void PrintJson(const nlohmann::ordered_json& line) { SettingsContext::Print(FromUtf8(line.dump())); }

// "Backup.MaxBackup" as the settings give it; a missing or non-positive
// value means the program's default.
int MaxBackup(const BackupsOptions& options, const TOxSettings& settings) {
  if (options.max_backup > 0) return options.max_backup;
  const int configured = SafeStrToInt(settings.GetSettingString(L"Backup.MaxBackup"), 0);
  return configured > 0 ? configured : kDefaultMaxBackup;
}

// Opens the system, the settings and the index. 0, or the exit code of the
// failure after saying why.
int OpenIndex(const BackupsOptions& options, const GlobalOptions& global, SettingsContext* context,
              cure::TBackupIndex* index) {
  std::wstring error;
  if (!context->Open(global.system, &error)) return SettingsContext::Fail(error);
  const std::wstring folder = BackupFolder(options.backup_dir, context->Settings());
  platform::FileEntry entry;
  if (platform::Files().Stat(folder, &entry) != platform::Result::kOk || !entry.IsFolder()) {
    // The program's own folder may simply not exist yet; a folder named on
    // the command line must.
    if (!options.backup_dir.empty()) {
      return SettingsContext::Fail(AppText(L"Cli.NoSuchFolder", L"{1}: no such folder", {folder}));
    }
    if (platform::Files().CreateFolder(folder) != platform::Result::kOk) {
      return SettingsContext::Fail(AppText(L"Cli.CannotCreate", L"{1}: cannot be created", {folder}));
    }
  }
  if (!index->Open(folder, MaxBackup(options, context->Settings()), &error)) return SettingsContext::Fail(error);
  return 0;
}

int CheckRow(const BackupsOptions& options, const cure::TBackupIndex& index) {
  const int rows = static_cast<int>(index.Rows().size());
  if (options.row >= 1 && options.row <= rows) return 0;
  return SettingsContext::Fail(AppText(L"Cli.NoSuchBackup", L"no backup number {1} ({2} listed)",
                                       {std::to_wstring(options.row), std::to_wstring(rows)}));
}

int RunList(const BackupsOptions& options, const GlobalOptions& global) {
  SettingsContext context;
  cure::TBackupIndex index;
  if (int failed = OpenIndex(options, global, &context, &index)) return failed;
  int number = 0;
  for (const cure::BackupRow& row : index.Rows()) {
    ++number;
    if (!options.json) {
      SettingsContext::Print(std::to_wstring(number) + L"\t" + row.caption + L"\t" + row.changes + L"\t" + row.file);
      continue;
    }
    PrintJson({{"Row", number},
               {"Datetime", ToUtf8(row.caption)},
               {"Changes", SafeStrToInt(row.changes, 0)},
               {"File", ToUtf8(row.file)}});
  }
  return 0;
}

int RunRestore(const BackupsOptions& options, const GlobalOptions& global) {
  SettingsContext context;
  cure::TBackupIndex index;
  if (int failed = OpenIndex(options, global, &context, &index)) return failed;
  if (int failed = CheckRow(options, index)) return failed;
  const std::wstring file = index.Rows()[static_cast<std::size_t>(options.row - 1)].file;
  std::vector<std::wstring> missing;
  // No scan engine lives beyond this command, so no topic status to reset.
  const cure::RestoreStatus status = index.Restore(options.row - 1, nullptr, &missing);
  const bool restored = status == cure::RestoreStatus::kRestored;
  if (options.json) {
    nlohmann::ordered_json absent = nlohmann::json::array();
    for (const auto& value : missing) absent.push_back(ToUtf8(value));
    PrintJson({{"Row", options.row}, {"File", ToUtf8(file)}, {"Restored", restored}, {"Missing", absent}});
  }
  const std::wstring key = cure::RestoreMessageKey(status);
  if (restored) {
    if (!options.json) SettingsContext::Print(AppText(key, L"Restored."));
    return 0;
  }
  for (const auto& value : missing) {
    SettingsContext::Fail(
        AppText(L"Cli.MissingAfterMerge", L"not in the registry after the merge: {1}", {value}));
  }
  if (status == cure::RestoreStatus::kNotStarted) {
    SettingsContext::Fail(AppText(L"Cli.MergeNotStarted", L"{1}: the merge could not be started", {file}));
  }
  return SettingsContext::Fail(AppText(key, L"Restore failed."));
}

int RunDelete(const BackupsOptions& options, const GlobalOptions& global) {
  SettingsContext context;
  cure::TBackupIndex index;
  if (int failed = OpenIndex(options, global, &context, &index)) return failed;
  if (int failed = CheckRow(options, index)) return failed;
  const std::wstring file = index.Rows()[static_cast<std::size_t>(options.row - 1)].file;
  std::wstring error;
  bool file_kept = false;
  if (!index.Delete(options.row - 1, &error, &file_kept)) return SettingsContext::Fail(error);
  if (options.json) PrintJson({{"Row", options.row}, {"File", ToUtf8(file)}, {"FileDeleted", !file_kept}});
  // The index no longer names it; say so if the file itself stayed.
  if (file_kept) {
    return SettingsContext::Fail(
        AppText(L"Cli.BackupFileKept", L"{1}: removed from the list but could not be deleted", {file}));
  }
  return 0;
}

CLI::App* AddCommand(CLI::App* parent, const char* name, const char* help, bool with_row,
                     const std::shared_ptr<BackupsOptions>& options) {
  CLI::App* command = parent->add_subcommand(name, help);
  if (with_row) command->add_option("N", options->row, "Backup number, 1 = the newest")->required();
  command->add_option("--backup-dir", options->backup_dir, "Folder of the backups and info.rec");
  command->add_option("--max-backup", options->max_backup, "Backups to keep (default: Backup.MaxBackup, else 10)")
      ->check(CLI::Range(1, 1000000));
  command->add_flag("--json", options->json, "One JSON object per line");
  return command;
}

}  // namespace

void RegisterBackups(CLI::App& app, const GlobalOptions& global, Action* chosen) {
  CLI::App* backups = app.add_subcommand("backups", "List, restore and delete the cures' registry backups");
  backups->require_subcommand(1);
  struct Entry {
    const char* name;
    const char* help;
    bool with_row;
    int (*run)(const BackupsOptions&, const GlobalOptions&);
  };
  static const Entry entries[] = {
      {"list", "The backups, newest first, with their number of changes", false, RunList},
      {"restore", "Merge backup N back into the registry", true, RunRestore},
      {"delete", "Delete backup N and its index line", true, RunDelete},
  };
  for (const Entry& entry : entries) {
    auto options = std::make_shared<BackupsOptions>();
    CLI::App* command = AddCommand(backups, entry.name, entry.help, entry.with_row, options);
    const auto run = entry.run;
    command->callback([=, &global] { *chosen = [=, &global] { return run(*options, global); }; });
  }
}

}  // namespace brimlow::cli
