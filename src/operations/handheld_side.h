// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/front_end.h"
#include "link/step_result.h"
#include "operations/run_context.h"

namespace orgalink::operations {

// Plays the organizer for a PC program (RunMode 18) on the open port:
// negotiates as an organizer with the engine's device code, then serves the
// PC's commands. GET_ALL_RECORDS and GET_EXPENSE_CATEGORY are answered from
// the ".snd" dump files in run.dumpDirectory, records the PC sends go to the
// ".rcv" file of the current application (all of one receive into one file,
// whatever applications their packets name), DELETE_ALL_RECORDS is
// acknowledged without deleting anything, and the variant probe
// GET_DEVICE_INFORMATION is left unanswered, so the PC takes us for a base
// model. Ends with 16 and a "BYE!!" box on the PC's END_COMMUNICATION or
// NACK, also when END_COMMUNICATION ends a receive; with 11 on a command an
// organizer is never sent; otherwise with the status of the failing step.
link::StepResult RunHandheldSide(RunContext& run, link::FrontEnd front);

}  // namespace orgalink::operations
