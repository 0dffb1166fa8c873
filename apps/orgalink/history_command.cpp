// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink history: the archives of the backup folder, newest first, with
// their counts and what changed from one to the next.

#include <cerrno>
#include <iostream>
#include <memory>
#include <string>

#include "backup_folder_option.h"
#include "commands.h"
#include "history_json.h"
#include "output_check.h"
#include "platform/file_system.h"
#include "ui/archive_history.h"

namespace orgalink::cli {

namespace {

struct HistoryOptions {
  BackupFolderOptions folder;
  bool json = false;
};

int ShowHistory(const HistoryOptions& options) {
  const std::string folder = BackupFolder(options.folder);
  std::vector<ui::HistoryEntry> entries;
  const int error = ui::ReadArchiveHistory(folder, entries);
  // A backup folder not made yet holds no archives; anything else is a fault.
  if (error != 0 && error != ENOENT) {
    std::cerr << "orgalink: cannot read the folder " << folder << ": " << platform::ErrorText(error)
              << '\n';
    return 1;
  }
  int status = 0;
  for (const ui::HistoryEntry& entry : entries) {
    if (!entry.problem.empty()) status = 1;
  }
  if (options.json) return PrintHistoryJson(folder, entries, status);
  platform::CheckedStandardOutput out;
  if (entries.empty()) {
    out << "No archives in " << folder << ".\n";
  } else {
    ui::PrintArchiveHistory(entries, out);
  }
  return CheckedStatus(out, status);
}

}  // namespace

void AddHistoryCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<HistoryOptions>();
  CLI::App* command =
      app.add_subcommand("history", "List the archives in BackupDir with what changed");
  command->footer(
      "Lists the dated backups and the safety copies made before a restore, newest first: when, "
      "the records per application, and the records added (+) and removed (-) since the archive "
      "before, counted as diff --summary counts them. An archive that cannot be read is listed "
      "with the reason. Exit 0, or 1 when an archive or the folder cannot be read.");
  AddBackupFolderOptions(*command, options->folder);
  command->add_flag("--json", options->json,
                    "Print the history as JSON (laid out in docs/json-output.md)");
  command->callback([options, &context] {
    context.stop.Watching();
    context.exit_code = ShowHistory(*options);
  });
}

}  // namespace orgalink::cli
