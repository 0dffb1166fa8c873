// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/cause.h"
#include "link/prompter.h"
#include "link/step_result.h"
#include "operations/run_context.h"
#include "store/archive_write.h"

namespace orgalink::operations {

// Writes the run's store to its archive (fileName), asking Retry or Cancel
// after every failed attempt. An archive already there stays exactly as it
// was until a complete new one, read back and found sound, replaces it; a
// failed, cancelled or interrupted write never touches it; a numbered
// archive (numberedArchive) never replaces one at all, and fileName ends as
// the name it was written under. On success the store's slot table is
// released. 16, or 17 when the user cancels.
link::StepResult WriteArchiveAsked(RunContext& run, link::Prompter* prompter);

// What a failed archive write tells the user as its cause: what refused the
// write before it began (the free space), or the file and the system's
// message for the step that failed.
link::Cause ArchiveWriteCause(const store::ArchiveWrite& write);

}  // namespace orgalink::operations
