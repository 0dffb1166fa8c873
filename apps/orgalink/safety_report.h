// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "communication.h"

namespace orgalink::cli {

// Where the organizer's data stands after a restore: the safety copy taken
// (on standard output, left to the object with --json), or, after a
// failure, what that means for the organizer and the command that puts its
// contents back (on standard error).
void ReportSafety(const CommunicationResult& result, bool json);

}  // namespace orgalink::cli
