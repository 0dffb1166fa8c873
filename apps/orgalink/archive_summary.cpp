// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive_summary.h"

#include <cstdio>

#include "store/appli_kind.h"
#include "store/archive.h"

namespace orgalink::cli {

void PrintArchiveSummary(const session::SessionOutcome& outcome) {
  if (!outcome.countsUnread.empty()) {
    std::fprintf(stderr, "orgalink: cannot read back: %s\n", outcome.countsUnread.c_str());
    return;
  }
  std::printf("%s\n", outcome.archive.c_str());
  for (const std::uint8_t application : store::FullOrder) {
    const int count = outcome.counts[application];
    if (count < 0) continue;
    std::printf("  %s: %d record%s\n", store::ApplicationName(application).c_str(), count,
                count == 1 ? "" : "s");
  }
  std::fflush(stdout);
}

}  // namespace orgalink::cli
