// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/step_result.h"

namespace orgalink::cli {

// Prints on standard error what the user is told when a run ends with
// `result`: the status text, then a line with its cause and what to try.
// Nothing for success and for a cancelled retry. A run that the user asked
// to stop (`stopRequested`) and that did not succeed is reported as aborted;
// an abort that nobody requested as the program's own fault.
void ReportFailure(const link::StepResult& result, bool stopRequested);

}  // namespace orgalink::cli
