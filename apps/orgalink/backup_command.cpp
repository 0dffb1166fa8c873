// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink backup [ARCHIVE]: a whole backup (RunMode 1) into an archive.

#include <memory>

#include "archive_summary.h"
#include "commands.h"
#include "communication.h"
#include "outcome_report.h"
#include "platform/clock.h"
#include "ui/archive_names.h"
#include "ui/dated_backup_name.h"
#include "ui/settings.h"

namespace orgalink::cli {

namespace {

struct BackupOptions {
  std::string archive;
  bool json = false;
  EngineOptions engine;
};

// A named archive gets its extension; without a name the backup goes to
// today's name in BackupDir, next to any earlier backup of the same day.
std::string ArchivePath(const BackupOptions& options, const settings::RunSettings& settings) {
  if (!options.archive.empty()) {
    std::string path = options.archive;
    ui::EnsureBackupExtension(path);
    return path;
  }
  ui::CreateBackupDir(settings);
  return ui::FreeDatedBackupPath(settings.backupDir, platform::SystemClock::Instance());
}

int Backup(const BackupOptions& options, Interruptible& stop) {
  CommunicationRequest backup{settings::RunMode::Backup, {}, {}, true, false};
  // Today's name is taken only if it is still free once the archive is
  // complete; a named archive replaces its file.
  backup.numberedArchive = options.archive.empty();
  const CommunicationResult result =
      Communicate(options.engine, backup, Console(), stop,
                  [&](CommunicationRequest& request, const settings::RunSettings& settings) {
                    request.fileName = ArchivePath(options, settings);
                  });
  OutcomeReport report("backup", options.json);
  report.Ran(result);
  // Quiet means silent for a backup that went well: a nightly job whose
  // every word is mailed stays quiet until something goes wrong.
  if (result.succeeded && !report.Json() && !options.engine.quiet) {
    PrintArchiveSummary(result.outcome);
  }
  return report.Finish(result.exitCode);
}

}  // namespace

void AddBackupCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<BackupOptions>();
  CLI::App* sub =
      app.add_subcommand("backup", "Back up every application of the organizer into an archive");
  sub->footer(
      "RunMode 1. Prints the instructions, then the progress; on success the archive's path and "
      "each application's record count (nothing with -q). An existing archive of that name stays "
      "as it was until "
      "the new one is complete, and is kept whenever the backup fails. A failed archive write "
      "asks Retry or Cancel on a terminal and cancels without one (exit 17).");
  sub->add_option("ARCHIVE", options->archive,
                  "Archive to write (.bkf is added when missing); default: today's date in "
                  "BackupDir, such as 20261210.bkf, or 20261210-2.bkf for a second backup that "
                  "day");
  AddEngineOptions(*sub, options->engine);
  AddJsonFlag(*sub, options->json);
  sub->callback([options, &context] { context.exit_code = Backup(*options, context.stop); });
}

}  // namespace orgalink::cli
