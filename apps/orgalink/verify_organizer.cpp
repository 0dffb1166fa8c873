#include "verify_organizer.h"

#include <cstdio>

#include "communication.h"
#include "link/link_status.h"
#include "operations/read_back_check.h"
#include "platform/file_system.h"
#include "ui/verify_report.h"

namespace orgalink::cli {

namespace {

int ReadArchive(const std::string& path, store::ArchiveRecords& archive) {
  std::vector<std::uint8_t> bytes;
  std::string problem;
  if (!platform::ReadWholeFile(path, bytes, &problem)) {
    std::fprintf(stderr, "Read file error.\nCause: %s: %s.\n", path.c_str(), problem.c_str());
    return link::ToInt(link::LinkFileReadCancelled);
  }
  if (store::ReadArchiveRecords(bytes, archive, &problem) != store::StoreOk) {
    std::fprintf(stderr, "%s: not an archive: %s\n", path.c_str(), problem.c_str());
    return link::ToInt(link::LinkFileIncompatible);
  }
  return 0;
}

}  // namespace

int VerifyOrganizer(const EngineOptions& options, const std::string& path, const Console& console,
                    bool after) {
  store::ArchiveRecords archive;
  if (const int unreadable = ReadArchive(path, archive)) return unreadable;
  if (after) std::fprintf(stderr, "\n%s\n\n", ui::kVerifyInstruction);
  operations::ReceivedStreams organizer;
  CommunicationRequest readBack{settings::RunMode::Backup, {}, {}, !after, false};
  readBack.readBack = &organizer;
  // After a restore the read-back logs beside the restore's log, which
  // would otherwise be replaced. Communicate runs with `readOptions` as
  // they stand once the settings are known.
  EngineOptions readOptions = options;
  const auto settle = [&](CommunicationRequest&, const settings::RunSettings& settings) {
    const std::string log = options.log ? *options.log : settings.logFileName;
    if (after && !log.empty()) readOptions.log = ui::ReadBackLogName(log);
  };
  const CommunicationResult result = Communicate(readOptions, readBack, console, settle);
  if (!result.succeeded) return result.exitCode;
  const auto compared = operations::CompareWithOrganizer(archive, organizer, result.appliKind);
  std::printf("%s\n", ui::VerifyReport(compared).c_str());
  return ui::AllMatch(compared) ? 0 : ui::kExitVerifyMismatch;
}

}  // namespace orgalink::cli
