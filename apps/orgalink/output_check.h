// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/standard_output.h"

namespace orgalink::cli {

// A failed write of a command's results, told on standard error with the
// system's cause ("orgalink: cannot write standard output: No space left
// on device"). Returns the exit status for it, 1.
int OutputFailed(int error_number);

// The exit status of a command that wrote its results to `out`: `status`,
// unless a write failed, which is told as OutputFailed tells it and is
// never 0.
int CheckedStatus(platform::CheckedStandardOutput& out, int status);

}  // namespace orgalink::cli
