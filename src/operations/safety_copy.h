// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/progress_sink.h"
#include "link/step_result.h"
#include "operations/run_context.h"

namespace orgalink::operations {

// A restore's safety copy, taken once the link stands and before the first
// deletion: the backup's own transfer of every application (or of the one
// application restored) into a store of its own, written, read back and
// verified, to run.safety.archive under a numbered name. Its milestones go
// to the Safety scope. A failed write is not offered again: the organizer
// waits for its next command meanwhile. 16; 17 when the archive cannot be
// written; otherwise the failing transfer's status. On failure
// run.safety.failed is set and the restore must stop.
link::StepResult TakeSafetyCopy(RunContext& run, link::ProgressSink* progress);

}  // namespace orgalink::operations
