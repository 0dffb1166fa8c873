// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/progress_sink.h"
#include "link/step_result.h"
#include "operations/run_context.h"
#include "transfer/transfer_role.h"

namespace orgalink::operations {

// Loads the current application's ".snd" dump file from run.dumpDirectory
// and sends its records (the table, for the expense category). 13 when the
// file is missing, unreadable or damaged (nothing is sent then), 11 when the
// store has no room, else the transfer's status.
link::StepResult SendDumpFile(RunContext& run, link::ProgressSink* progress,
                              transfer::TransferRole role);

// Receives the current application's records and writes them to its ".rcv"
// dump file in run.dumpDirectory. The old file goes only once the records
// have arrived, and then even when there were none to write. 11 when the
// store has no room, nothing arrived or the file cannot be written, else the
// transfer's status.
link::StepResult ReceiveDumpFile(RunContext& run, link::ProgressSink* progress,
                                 transfer::TransferRole role);

}  // namespace orgalink::operations
