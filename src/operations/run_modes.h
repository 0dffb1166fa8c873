// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/front_end.h"
#include "link/step_result.h"
#include "operations/run_context.h"
#include "settings/run_mode.h"

namespace orgalink::operations {

// The steps of one RunMode inside the driver's guarded block, with the
// mode's success message box.
link::StepResult RunModeSteps(RunContext& run, link::FrontEnd front, settings::RunMode runMode);

}  // namespace orgalink::operations
