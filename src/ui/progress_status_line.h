// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ui/progress_model.h"

namespace orgalink::ui {

// The progress status with the application the run is at, "Receiving...
// Telephone", for every front end that shows progress. A run of one
// application follows that one over the whole bar, so the bands that name
// the applications of a whole run do not apply and the status stands alone.
// `withRecords` adds the records moved so far, "Receiving... Telephone (12
// records)", for displays that redraw in place rather than add a line.
std::string StatusLineOf(const ProgressModel& model, int runMode, bool withRecords);

}  // namespace orgalink::ui
