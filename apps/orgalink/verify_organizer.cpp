// SPDX-License-Identifier: GPL-3.0-or-later
#include "verify_organizer.h"

#include <cstdio>

#include "communication.h"
#include "link/link_status.h"
#include "operations/read_back_check.h"
#include "organizer_archive.h"
#include "store/record_comparison.h"
#include "ui/verify_report.h"

namespace orgalink::cli {

namespace {

// The report's lines on standard output; a mismatch's closing verdict,
// which is a message rather than a result, on standard error.
void PrintReport(const std::vector<store::RecordDifference>& compared) {
  const std::string report = ui::VerifyReport(compared);
  if (ui::AllMatch(compared)) {
    std::printf("%s\n", report.c_str());
    return;
  }
  const std::size_t verdict = report.rfind('\n') + 1;
  std::printf("%s", report.substr(0, verdict).c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "%s\n", report.substr(verdict).c_str());
}

}  // namespace

int VerifyOrganizer(const EngineOptions& options, const std::string& path, const Console& console,
                    Interruptible& stop, bool after, OutcomeReport& report) {
  if (!after) report.Archive(path);
  store::CheckedArchive checked;
  link::StepResult refusal;
  if (const int unusable = ReadOrganizerArchive(path, checked, &refusal)) {
    if (!after) report.Refused(refusal);
    return unusable;
  }
  store::ArchiveRecords archive;
  store::ReadArchiveRecords(checked.image, archive);
  checked = store::CheckedArchive{};
  return VerifyRecords(options, archive, console, stop, after, report);
}

int VerifyRecords(const EngineOptions& options, const store::ArchiveRecords& expected,
                  const Console& console, Interruptible& stop, bool after, OutcomeReport& report) {
  if (after && !options.quiet) std::fprintf(stderr, "\n%s\n\n", ui::kVerifyInstruction);
  CommunicationRequest readBack{settings::RunMode::Backup, {}, {}, !after, false};
  readBack.verifyAgainst = expected;
  // After a restore the read-back logs beside the restore's log, which
  // would otherwise be replaced. Communicate runs with `readOptions` as
  // they stand once the settings are known.
  EngineOptions readOptions = options;
  const auto settle = [&](CommunicationRequest&, const settings::RunSettings& settings) {
    const std::string log = options.log ? *options.log : settings.logFileName;
    if (after && !log.empty()) readOptions.log = ui::ReadBackLogName(log);
  };
  const CommunicationResult result = Communicate(readOptions, readBack, console, stop, settle);
  if (!after) report.Ran(result);
  if (!result.succeeded || !result.outcome.verified) {
    if (!after) return result.exitCode;
    std::fprintf(stderr, "%s\n", ui::kRestoredUnverified);
    return stop.Stop() ? result.exitCode : ui::kExitRestoredUnverified;
  }
  const auto& compared = *result.outcome.verified;
  if (after) report.Verified(compared);
  if (!report.Json()) PrintReport(compared);
  return ui::AllMatch(compared) ? 0 : ui::kExitVerifyMismatch;
}

}  // namespace orgalink::cli
