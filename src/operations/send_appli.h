// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/progress_sink.h"
#include "link/step_result.h"
#include "operations/run_context.h"
#include "transfer/transfer_role.h"

namespace orgalink::operations {

// Sends the current application's records from the store; an application
// the store does not hold, or holds without records, is passed over.
link::StepResult SendAppli(RunContext& run, link::ProgressSink* progress,
                           transfer::TransferRole role);

}  // namespace orgalink::operations
