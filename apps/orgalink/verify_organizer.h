// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "console.h"
#include "engine_options.h"
#include "interruptible.h"
#include "outcome_report.h"
#include "store/record_comparison.h"

namespace orgalink::cli {

// Reads the organizer back in a communication of its own, into memory only,
// and compares it with the archive at `path`; prints the report. `after`
// tells that a restore has just ended: the user is asked to press PC-LINK
// again instead of the whole set of instructions. 0 when everything
// matches, 18 when not; 17 or 13 when the archive cannot be read or is none;
// otherwise the communication's exit status, except after a restore, where a
// read-back that could not be made says that the restore itself completed
// and gives ui::kExitRestoredUnverified (a signal keeps its own status).
// The differences are results, on standard output; the verdict that they
// differ is a message, on standard error. Under --json `report` takes the
// comparison instead (and, for a verify of its own, the read-back's
// outcome), and nothing goes to standard output.
int VerifyOrganizer(const EngineOptions& options, const std::string& path, const Console& console,
                    Interruptible& stop, bool after, OutcomeReport& report);

// The same against records already read (a merge's result): what the
// organizer should hold of each application they name.
int VerifyRecords(const EngineOptions& options, const store::ArchiveRecords& expected,
                  const Console& console, Interruptible& stop, bool after, OutcomeReport& report);

}  // namespace orgalink::cli
