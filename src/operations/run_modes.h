#pragma once

#include <cstdint>

#include "link/front_end.h"
#include "link/link_status.h"
#include "operations/run_context.h"

namespace orgalink::operations {

// The steps of one RunMode (0..18) inside the driver's guarded block, with
// the mode's success message box.
link::LinkStatus RunModeSteps(RunContext& run, link::FrontEnd front, std::uint8_t runMode);

}  // namespace orgalink::operations
