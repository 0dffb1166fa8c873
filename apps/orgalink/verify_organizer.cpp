#include "verify_organizer.h"

#include <cstdio>

#include "communication.h"
#include "link/link_status.h"
#include "operations/read_back_check.h"
#include "organizer_archive.h"
#include "store/record_comparison.h"
#include "ui/verify_report.h"

namespace orgalink::cli {

int VerifyOrganizer(const EngineOptions& options, const std::string& path, const Console& console,
                    Interruptible& stop, bool after) {
  store::CheckedArchive checked;
  if (const int unusable = ReadOrganizerArchive(path, checked)) return unusable;
  store::ArchiveRecords archive;
  store::ReadArchiveRecords(checked.image, archive);
  checked = store::CheckedArchive{};
  if (after) std::fprintf(stderr, "\n%s\n\n", ui::kVerifyInstruction);
  CommunicationRequest readBack{settings::RunMode::Backup, {}, {}, !after, false};
  readBack.verifyAgainst = archive;
  // After a restore the read-back logs beside the restore's log, which
  // would otherwise be replaced. Communicate runs with `readOptions` as
  // they stand once the settings are known.
  EngineOptions readOptions = options;
  const auto settle = [&](CommunicationRequest&, const settings::RunSettings& settings) {
    const std::string log = options.log ? *options.log : settings.logFileName;
    if (after && !log.empty()) readOptions.log = ui::ReadBackLogName(log);
  };
  const CommunicationResult result = Communicate(readOptions, readBack, console, stop, settle);
  if (!result.succeeded || !result.outcome.verified) {
    if (!after) return result.exitCode;
    std::fprintf(stderr, "%s\n", ui::kRestoredUnverified);
    return stop.Stop() ? result.exitCode : ui::kExitRestoredUnverified;
  }
  const auto& compared = *result.outcome.verified;
  std::printf("%s\n", ui::VerifyReport(compared).c_str());
  return ui::AllMatch(compared) ? 0 : ui::kExitVerifyMismatch;
}

}  // namespace orgalink::cli
