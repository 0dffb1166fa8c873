// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/progress_sink.h"
#include "link/step_result.h"
#include "operations/run_context.h"
#include "store/readable_archive.h"
#include "transfer/transfer_role.h"

namespace orgalink::operations {

// The largest record stream one application may bring in one backup: as
// much as an archive may hold of one application.
inline constexpr int ReceiveBufferSize = static_cast<int>(store::MaxApplicationBytes);

// Receives the current application's records and adds them to the store;
// an application without records adds nothing. A record the archive could
// not give back (one holding 0xFF, from the line or after code conversion)
// fails the receive with 11 and stores nothing of the application.
link::StepResult ReceiveAppli(RunContext& run, link::ProgressSink* progress,
                              transfer::TransferRole role);

}  // namespace orgalink::operations
