// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink restore --merge / --dry-run: a restore worked out against what the
// organizer holds.

#include "planned_restore.h"

#include <cstdio>

#include "communication.h"
#include "erase_confirmation.h"
#include "operations/merge_report.h"
#include "organizer_archive.h"
#include "platform/program_directory.h"
#include "safety_report.h"
#include "session/archive_selection.h"
#include "ui/safe_restore_texts.h"
#include "verify_organizer.h"

namespace orgalink::cli {

namespace {

// A dry run that would change nothing is no failure, but a script needs to
// tell it apart.
constexpr int kExitNothingToChange = 1;

std::string TableDirectory(const EngineOptions& engine) {
  return engine.dataDir.empty() ? platform::DataDirectory() : engine.dataDir;
}

void PrintPlan(const operations::RestorePlan& plan, bool done) {
  for (const std::string& line : operations::RestorePlanLines(plan, done)) {
    std::printf("%s\n", line.c_str());
  }
}

}  // namespace

int RestorePlanned(const std::string& archive, const PlannedRestoreOptions& planned,
                   const EngineOptions& engine, Interruptible& stop, OutcomeReport& report) {
  report.Archive(archive);
  store::CheckedArchive checked;
  link::StepResult refusal;
  if (const int unusable = ReadOrganizerArchive(archive, checked, &refusal)) {
    report.Refused(refusal);
    return unusable;
  }
  const Console console;
  if (!planned.dryRun) {
    if (const int refused = ConfirmEmptying(console, planned.yes, stop)) return refused;
  }
  CommunicationRequest request{settings::RunMode::Restore, archive, {}, true, false};
  request.safetyBackup = planned.safetyBackup;
  request.planned.emplace();
  request.planned->records =
      session::MatchingRecords(checked, TableDirectory(engine), planned.match);
  request.planned->merge = planned.merge;
  request.planned->dryRun = planned.dryRun;
  checked = store::CheckedArchive{};
  const CommunicationResult result = Communicate(engine, request, console, stop);
  report.Ran(result);
  const auto& plan = result.outcome.plan;
  if (plan && !report.Json() && (result.succeeded || planned.dryRun))
    PrintPlan(*plan, !planned.dryRun);
  if (planned.dryRun) {
    if (!result.succeeded) return result.exitCode;
    if (!report.Json()) std::printf("Dry run: nothing was deleted or sent.\n");
    return plan && plan->Changes() ? 0 : kExitNothingToChange;
  }
  ReportSafety(result, report.Json());
  if (!result.succeeded || !planned.verify || !plan) return result.exitCode;
  return VerifyRecords(engine, plan->Expected(), console, stop, true, report);
}

}  // namespace orgalink::cli
