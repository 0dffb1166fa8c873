// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "console.h"
#include "engine_options.h"
#include "interruptible.h"
#include "outcome_report.h"

namespace orgalink::cli {

// restore --merge and restore --dry-run.
struct PlannedRestoreOptions {
  bool merge = false;
  bool dryRun = false;
  // --match: only the archive's records whose row the viewer's filter keeps.
  std::string match;
  bool yes = false;
  bool safetyBackup = true;
  bool verify = false;
};

// Reads and judges `archive` before anything else, as the restore does;
// then, in one communication, reads the organizer and merges the archive's
// records into it, or only prints what the restore would do. Prints the
// plan's lines on standard output. A merge asks before it runs, as the
// restore does, and can be verified against its result; a dry run asks
// nothing and exits 0, or 1 when the restore would change nothing.
int RestorePlanned(const std::string& archive, const PlannedRestoreOptions& planned,
                   const EngineOptions& engine, Interruptible& stop, OutcomeReport& report);

}  // namespace orgalink::cli
