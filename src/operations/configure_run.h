#pragma once

#include "operations/run_context.h"
#include "operations/run_settings.h"

namespace orgalink::operations {

// Hands one communication's settings to its engine and context and links the
// context to the communication's store; the caller keeps settings.runMode.
// Writes the settings block to the (new) log with the values exactly as
// handed over.
void ConfigureRun(RunContext& run, store::AppliStore& store, const RunSettings& settings);

}  // namespace orgalink::operations
