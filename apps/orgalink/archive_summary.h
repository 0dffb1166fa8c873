// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/session_outcome.h"

namespace orgalink::cli {

// Prints the archive a backup wrote and one line per application with its
// record count on standard output, as the session read them back from the
// file, in the order the organizer is walked.
void PrintArchiveSummary(const session::SessionOutcome& outcome);

}  // namespace orgalink::cli
