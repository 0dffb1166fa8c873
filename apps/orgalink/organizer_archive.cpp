#include "organizer_archive.h"

#include <cstdio>

#include "failure_report.h"
#include "link/link_status.h"
#include "store/archive_limits.h"

namespace orgalink::cli {

int ReadOrganizerArchive(const std::string& path, store::CheckedArchive& archive) {
  const store::StoreResult read = store::ReadArchiveFile(path, archive, &store::ArchiveDeviceCode);
  if (read == store::StoreOk) return 0;
  // Only a file that could not be read at all may read better later: the
  // status a restore gives when the user gives up retrying.
  if (read == store::StoreFailed && !archive.read) {
    std::fprintf(stderr, "Read file error.\nCause: %s.\n", archive.message.c_str());
    return link::ToInt(link::LinkFileReadCancelled);
  }
  ReportFailure({link::LinkFileIncompatible, link::Cause::File(archive.message)}, false);
  return link::ToInt(link::LinkFileIncompatible);
}

}  // namespace orgalink::cli
