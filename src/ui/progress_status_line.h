#pragma once

#include <string>

#include "ui/progress_model.h"

namespace orgalink::ui {

// The progress status with the application the run is at, "Receiving...
// Telephone", for every front end that shows progress. A run of one
// application follows that one over the whole bar, so the bands that name
// the applications of a whole run do not apply and the status stands alone.
std::string StatusLineOf(const ProgressModel& model, int runMode);

}  // namespace orgalink::ui
