// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/progress_sink.h"
#include "link/step_result.h"
#include "operations/run_context.h"

namespace orgalink::operations {

// RunMode 9: negotiates, sends the current application's records and
// releases the organizer.
link::StepResult SendOneAppli(RunContext& run, link::ProgressSink* progress);

}  // namespace orgalink::operations
