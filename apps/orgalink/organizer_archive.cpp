// SPDX-License-Identifier: GPL-3.0-or-later
#include "organizer_archive.h"

#include <cstdio>

#include "failure_report.h"
#include "link/link_status.h"
#include "store/archive_limits.h"

namespace orgalink::cli {

int ReadOrganizerArchive(const std::string& path, store::CheckedArchive& archive,
                         link::StepResult* refusal) {
  const store::StoreResult read = store::ReadArchiveFile(path, archive, &store::ArchiveDeviceCode);
  if (read == store::StoreOk) return 0;
  // Only a file that could not be read at all may read better later: the
  // status a restore gives when the user gives up retrying.
  const bool unreadable = read == store::StoreFailed && !archive.read;
  const link::StepResult result{
      unreadable ? link::LinkFileReadCancelled : link::LinkFileIncompatible,
      link::Cause::File(archive.message)};
  if (refusal) *refusal = result;
  if (unreadable) {
    std::fprintf(stderr, "Read file error.\nCause: %s.\n", archive.message.c_str());
  } else {
    ReportFailure(result, false);
  }
  return link::ToInt(result.status);
}

}  // namespace orgalink::cli
