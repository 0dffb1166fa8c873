// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/prompter.h"
#include "link/step_result.h"
#include "operations/run_context.h"

namespace orgalink::operations {

// Reads the run's archive into the store, which holds a fresh slot table,
// asking Retry or Cancel when the file cannot be read. 16; 13 when the file
// is not an archive this store can take; 17 when the user cancels.
link::StepResult ReadArchiveAsked(RunContext& run, link::Prompter* prompter);

}  // namespace orgalink::operations
