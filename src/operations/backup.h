// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/front_end.h"
#include "link/step_result.h"
#include "operations/run_context.h"
#include "transfer/transfer_role.h"

namespace orgalink::operations {

// Fetches the records of every application, in FullOrder, or of the current
// one into the run's store, then writes them to the run's archive (when it
// names one). With PcFull it negotiates first and sends END_COMMUNICATION
// before the archive is written, so a slow or refused write never holds the
// organizer. Applications that deliver no records get no section. Progress
// milestones go to the front end as Operation scope reports; its prompter
// asks Retry or Cancel after a failed write and shows the success box (only
// with a log).
// 16; 11 when the store cannot take the records; 17 when the user cancels a
// failed write; otherwise the failing link step's status. Whatever fails,
// an archive already at the file name stays as it was.
link::StepResult RunBackup(RunContext& run, link::FrontEnd front, transfer::TransferRole role);

// The backup's transfer alone, inside a communication that stands: every
// application in FullOrder, or the current one, into the run's store, with
// the whole backup's milestones reported in the scope `milestones`.
link::StepResult ReceiveApplications(RunContext& run, link::ProgressSink* progress,
                                     transfer::TransferRole role, link::ProgressScope milestones);

}  // namespace orgalink::operations
