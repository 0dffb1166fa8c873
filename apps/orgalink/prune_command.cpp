// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink prune: forgets old archives of the backup folder by a keep policy.

#include <iostream>
#include <memory>
#include <string>

#include "backup_folder_option.h"
#include "commands.h"
#include "output_check.h"
#include "ui/prune_folder.h"

namespace orgalink::cli {

namespace {

// More than anyone keeps; the bound only refuses a typing error.
constexpr int kMostKept = 100000;

struct PruneOptions {
  BackupFolderOptions folder;
  ui::KeepPolicy policy;
  bool dryRun = false;
};

int Prune(const PruneOptions& options) {
  if (options.policy.Empty()) {
    std::cerr << "orgalink: nothing removed: prune keeps what no rule lets go, so it needs at "
                 "least one of --keep-last, --keep-daily, --keep-weekly, --keep-monthly and "
                 "--keep-safety\n";
    return 2;
  }
  const std::string folder = BackupFolder(options.folder);
  platform::CheckedStandardOutput out;
  const ui::PruneResult result =
      ui::PruneFolder(folder, options.policy, options.dryRun, out, std::cerr);
  if (result.status == 0 || result.archives != 0) {
    out << (options.dryRun ? "would keep " : "kept ") << result.archives - result.removed << " of "
        << result.archives << " archives in " << folder << '\n';
  }
  return CheckedStatus(out, result.status);
}

void AddKeepOption(CLI::App& command, const char* name, std::optional<int>& rule,
                   const char* help) {
  command.add_option(name, rule, help)->check(CLI::Range(0, kMostKept));
}

}  // namespace

void AddPruneCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<PruneOptions>();
  CLI::App* command =
      app.add_subcommand("prune", "Remove the archives in BackupDir that no keep rule holds");
  command->footer(
      "Each rule keeps archives counted from the newest back; an archive any rule keeps stays, "
      "and the newest dated backup always stays. The dated backups are touched only when a "
      "--keep-last, --keep-daily, --keep-weekly or --keep-monthly rule is given, the safety "
      "copies made before a restore (before-restore-*.bkf) only under --keep-safety; other "
      "files are never touched. Without any rule nothing is removed (exit 2). Exit 1 when a "
      "removal fails.");
  AddBackupFolderOptions(*command, options->folder);
  ui::KeepPolicy& policy = options->policy;
  AddKeepOption(*command, "--keep-last", policy.last, "Keep the N newest dated backups");
  AddKeepOption(*command, "--keep-daily", policy.daily,
                "Keep the newest dated backup of each of the N latest days that have one");
  AddKeepOption(*command, "--keep-weekly", policy.weekly,
                "Keep the newest dated backup of each of the N latest weeks (Monday to Sunday)");
  AddKeepOption(*command, "--keep-monthly", policy.monthly,
                "Keep the newest dated backup of each of the N latest months");
  AddKeepOption(*command, "--keep-safety", policy.safety,
                "Keep the N newest safety copies (default: all)");
  command->add_flag("--dry-run,-n", options->dryRun, "Print what would be removed; remove nothing");
  command->callback([options, &context] {
    context.stop.Watching();
    context.exit_code = Prune(*options);
  });
}

}  // namespace orgalink::cli
