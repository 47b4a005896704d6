// brimlow-cli cure [scan options] [--yes] [--check-all] [--backup-dir DIR]
// [--json]: runs the scan of "brimlow-cli scan", then cures the findings
// that are checked (those whose topic's LEVEL is above 1; --check-all
// checks every finding).
//
// Without --yes the changes are listed and the user is asked; no terminal
// on standard input, or no answer, means no. Every registry change is
// backed up first into the backup folder (--backup-dir, default the
// "backup" folder in the user data folder, created when missing) and
// indexed in its "info.rec". --json adds {"event":"Cured","SID":N,
// "Status":"csCured"} per cured finding and {"event":"CureFinished",
// "Backup":"FILE","Index":"info.rec line"} at the end. Ctrl+C stops the
// cure before its next finding; the backup and the index line of what was
// done are still written ({"event":"CureAborted"} before CureFinished).
//
// Exit code 0 when the cure ran to its end, or when there was nothing to
// cure or the user said no; 130 after Ctrl+C; 1 with a reason on standard
// error otherwise.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <memory>

#include "app/cli/Cli.h"
#include "app/cli/CliPaths.h"
#include "app/cli/CliTexts.h"
#include "app/cli/Interrupt.h"
#include "app/cli/JsonEvents.h"
#include "app/cli/ScanRun.h"
#include "app/cli/SettingsContext.h"
#include "base/PortableMainLoop.h"
#include "base/Text.h"
#include "cure/FigCure.h"
#include "platform/Console.h"
#include "platform/Platform.h"

namespace brimlow::cli {
namespace {

using scan::TFigScanedItem;

struct CureOptions {
  ScanOptions scan;
  bool yes = false;
  bool check_all = false;
  std::string backup_dir;
};

// Text for the user: standard output, or standard error while standard
// output carries JSON lines.
void Say(const CureOptions& options, const std::wstring& line) {
  if (!options.scan.json) {
    SettingsContext::Print(line);
    return;
  }
  std::fputs((ToUtf8(line) + "\n").c_str(), stderr);
  std::fflush(stderr);
}

std::wstring PlannedChange(const TFigScanedItem& item) {
  const std::wstring where = FindingLocation(item);
  switch (item.LocationStyle) {
    case scan::lsRegistry:
      if (item.ValueCheck) return AppText(L"Cli.PlanDeleteValue", L"delete value {1}", {where});
      return AppText(L"Cli.PlanDeleteKey", L"delete key {1}", {where});
    case scan::lsRegistryItem: return AppText(L"Cli.PlanSetValue", L"set value {1}", {where});
    case scan::lsDisk:
      if (item.RuleStyle == scan::rsRurudOraziv) return AppText(L"Cli.PlanStart", L"start {1}", {where});
      return AppText(L"Cli.PlanDeleteFile", L"delete file {1}", {where});
    default: return AppText(L"Cli.PlanNothing", L"nothing for {1}", {where});
  }
}

// Lists the checked findings and asks. Standard input that is no terminal,
// or ends, answers no.
bool Confirm(const CureOptions& options, const cure::TFigCure& cure) {
  for (int i = 0; i < cure.ItemCount(); ++i) {
    const TFigScanedItem item = cure.GetMatchedItem(i);
    if (item.Checked) Say(options, L"  " + PlannedChange(item));
  }
  const std::wstring question = AppText(L"MSGBox.CureAfterScan", L"Do you want to cure these right now?");
  if (!platform::IsTerminal(platform::StdStream::kInput)) {
    Say(options, AppText(L"Cli.NoTerminalToAsk",
                         L"{1} -- no terminal to ask on; nothing changed (use --yes to cure without asking).",
                         {question}));
    return false;
  }
  std::fputs((ToUtf8(question) + " [y/N] ").c_str(), stderr);
  std::fflush(stderr);
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  if (platform::InterruptRequested()) {
    platform::ClearInterrupt();
    return false;
  }
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

bool PrepareBackupFolder(const std::wstring& folder, std::wstring* error) {
  platform::FileEntry entry;
  if (Ok(platform::Files().Stat(folder, &entry)) && entry.IsFolder()) return true;
  if (Ok(platform::Files().CreateFolder(folder))) return true;
  *error = AppText(L"Cli.BackupFolderNotCreated", L"{1}: the backup folder cannot be created", {folder});
  return false;
}

void BindCureEvents(cure::TFigCure& cure, const CureOptions& options, bool* aborted) {
  cure.OnCured = [&options](TFigScanedItem& item, scan::TFigCureStatus status, int, int) {
    if (options.scan.json) {
      PrintJson(CuredEvent(item.SID, status));
      return;
    }
    SettingsContext::Print(L"  " + std::wstring(scan::NameOf(status)) + L"  " + FindingLocation(item));
  };
  cure.OnAbort = [aborted](void*) { *aborted = true; };
}

// Runs the cure of the checked findings to its end; false when stopped.
bool RunCure(MainLoop& loop, cure::TFigCure& cure, const CureOptions& options, std::wstring* error) {
  bool aborted = false;
  BindCureEvents(cure, options, &aborted);
  InterruptWatch watch(loop, [&cure] { cure.Abort(); });
  if (!cure.StartCure(error)) return false;
  loop.RunUntil([&cure] { return !cure.IsRunning(); }, MainLoop::kForever);
  if (options.scan.json) {
    if (aborted) PrintJson(JsonLine{{"event", "CureAborted"}});
    PrintJson(CureFinishedEvent(cure.LastBackupFile(), cure.LastIndexLine()));
  }
  if (aborted) {
    Say(options, AppText(L"Cli.CureInterrupted",
                         L"Cure interrupted: the findings before the stop were cured; their backup is {1} "
                         L"(indexed in info.rec).",
                         {cure.LastBackupFile()}));
  } else if (!options.scan.json) {
    Say(options, AppText(L"Cli.CureBackup", L"Backup: {1}", {cure.LastBackupFile()}));
  }
  Say(options, AppText(L"Cli.UndoCure", L"To undo these changes: brimlow-cli backups restore 1"));
  return !aborted;
}

int RunCureCommand(const CureOptions& options, const GlobalOptions& global) {
  SettingsContext context;
  std::wstring error;
  if (!context.Open(global.system, &error)) return SettingsContext::Fail(error);
  const std::wstring backup_folder = BackupFolder(options.backup_dir, context.Settings());

  PortableMainLoop loop;
  cure::TFigCure cure(loop);
  ScanRun scan(loop, options.scan);
  if (!scan.Prepare(&error)) return SettingsContext::Fail(error);
  scan.Engine().SetFigCure(&cure);
  // Each finding's SID is its index in the cure's list.
  scan.Engine().OnStarted = [&cure](scan::TVazArovov&) { cure.Clear(); };
  if (!scan.Run()) return kInterruptedExitCode;

  if (options.check_all) {
    for (int i = 0; i < cure.ItemCount(); ++i) cure.SetChecked(i, true);
  }
  if (cure.GetCheckedItem() == 0) {
    Say(options, cure.ItemCount() == 0
                     ? AppText(L"MSGBox.ThereIsNoItemsToCure", L"No problem found. There is nothing to cure.")
                     : AppText(L"Cli.NothingChecked", L"{1} (--check-all cures every finding)",
                               {AppText(L"MSGBox.NoCureItemSelected",
                                        L"Please select at least one item to cure.")}));
    return 0;
  }
  if (!options.yes && !Confirm(options, cure)) return 0;

  if (!PrepareBackupFolder(backup_folder, &error)) return SettingsContext::Fail(error);
  cure.SetBackupPath(backup_folder);
  if (options.scan.no_pacing) cure.SetCureDuration(0);
  const bool done = RunCure(loop, cure, options, &error);
  if (!error.empty()) return SettingsContext::Fail(error);
  return done ? 0 : kInterruptedExitCode;
}

}  // namespace

void RegisterCure(CLI::App& app, const GlobalOptions& global, Action* chosen) {
  CLI::App* command =
      app.add_subcommand("cure", "Scan, then cure the checked findings with a registry backup first");
  auto options = std::make_shared<CureOptions>();
  AddScanOptions(command, &options->scan);
  command->add_flag("--yes", options->yes, "Cure without asking");
  command->add_flag("--check-all", options->check_all, "Cure every finding, not only the checked ones");
  command->add_option("--backup-dir", options->backup_dir,
                      "Folder of the backups (default: the \"backup\" folder in the user data folder)");
  command->callback([=, &global] { *chosen = [=, &global] { return RunCureCommand(*options, global); }; });
}

}  // namespace brimlow::cli
