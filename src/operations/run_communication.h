// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/front_end.h"
#include "link/step_result.h"
#include "operations/run_context.h"
#include "settings/run_mode.h"

namespace orgalink::operations {

// Performs one whole communication of the given RunMode and always ends with
// the port closed; every failure, an abort included, first sends NACK and
// END_COMMUNICATION so that the organizer is released. Without a store or a
// front end to report to and ask it returns 11 before anything is logged or opened.
// The result carries the cause of the failure that ended the communication,
// not of the closing commands.
link::StepResult RunCommunication(RunContext& run, link::FrontEnd front, settings::RunMode runMode);

}  // namespace orgalink::operations
