// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink restore ARCHIVE: empties the organizer and sends an archive back
// (RunMode 2).

#include <cstdio>
#include <memory>

#include "archive_path.h"
#include "commands.h"
#include "communication.h"
#include "erase_confirmation.h"
#include "link/link_status.h"
#include "organizer_archive.h"
#include "outcome_report.h"
#include "planned_restore.h"
#include "safety_report.h"
#include "ui/safe_restore_texts.h"
#include "verify_organizer.h"

namespace orgalink::cli {

namespace {

struct RestoreOptions {
  std::string archive;
  bool yes = false;
  bool noSafetyBackup = false;
  bool verify = false;
  bool json = false;
  PlannedRestoreOptions planned;
  EngineOptions engine;
};

// The whole archive is read and judged before the user is asked, the
// instructions are printed or the port is opened, so that a mistyped name
// or a file the organizer could not take never reaches the organizer.
int CheckArchive(const std::string& path, OutcomeReport& report) {
  store::CheckedArchive archive;
  link::StepResult refusal;
  const int unusable = ReadOrganizerArchive(path, archive, &refusal);
  if (unusable) report.Refused(refusal);
  return unusable;
}

int Restore(const RestoreOptions& options, Interruptible& stop, OutcomeReport& report) {
  if (options.planned.merge || options.planned.dryRun) {
    PlannedRestoreOptions planned = options.planned;
    planned.yes = options.yes;
    planned.safetyBackup = !options.noSafetyBackup;
    planned.verify = options.verify;
    return RestorePlanned(options.archive, planned, options.engine, stop, report);
  }
  report.Archive(options.archive);
  if (const int unusable = CheckArchive(options.archive, report)) return unusable;
  const Console console;
  if (const int refused = ConfirmEmptying(console, options.yes, stop)) return refused;
  CommunicationRequest restore{settings::RunMode::Restore, options.archive, {}, true, false};
  restore.safetyBackup = !options.noSafetyBackup;
  const CommunicationResult result = Communicate(options.engine, restore, console, stop);
  report.Ran(result);
  ReportSafety(result, report.Json());
  if (!result.succeeded || !options.verify) return result.exitCode;
  return VerifyOrganizer(options.engine, options.archive, console, stop, true, report);
}

}  // namespace

void AddRestoreCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<RestoreOptions>();
  CLI::App* sub =
      app.add_subcommand("restore", "Empty the organizer and send an archive back into it");
  sub->footer(
      "RunMode 2. ARCHIVE is read and checked before anything is asked or the port is opened: "
      "one that cannot be read exits 17, one the organizer could not take (a damaged file, an "
      "application twice or beyond the organizer's limits) 13. On a terminal the restore asks "
      "first (answer no: exit 1); without a terminal it runs only with --yes (else exit 2). "
      "Then the instructions and the progress follow. Before deleting anything, the restore "
      "receives the organizer's contents into a safety backup in BackupDir; when that fails, "
      "nothing is deleted. When the restore fails after deleting, the message names the safety "
      "backup to restore.");
  sub->add_option("ARCHIVE", options->archive, "Archive to restore (.bkf)")
      ->required()
      ->transform(ArchivePathTransform());
  sub->add_flag("--yes,-y", options->yes, "Overwrite the organizer's applications without asking");
  sub->add_flag("--no-safety-backup", options->noSafetyBackup,
                "Do not first copy the organizer's contents to "
                "BackupDir/before-restore-YYYYMMDD-HHMMSS.bkf (SafetyBackup=0)");
  sub->add_flag("--verify", options->verify,
                "Then read the organizer back in a second communication (press PC-LINK again) "
                "and compare it with ARCHIVE; exit 18 when it differs");
  CLI::Option* merge =
      sub->add_flag("--merge", options->planned.merge,
                    "Keep everything the organizer holds and add the archive's records it lacks; "
                    "only the applications that gain records are emptied and sent");
  sub->add_option("--match", options->planned.match,
                  "With --merge, add only the records whose text holds TEXT, case aside, as the "
                  "viewer's filter keeps them")
      ->option_text("TEXT")
      ->needs(merge);
  sub->add_flag("--dry-run", options->planned.dryRun,
                "Only read the organizer and print what the restore (or --merge) would delete "
                "and send; nothing is changed. Exit 1 when it would change nothing")
      ->excludes("--verify");
  AddEngineOptions(*sub, options->engine);
  AddJsonFlag(*sub, options->json);
  sub->callback([options, &context] {
    OutcomeReport report("restore", options->json);
    context.exit_code = report.Finish(Restore(*options, context.stop, report));
  });
}

}  // namespace orgalink::cli
