// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/link_engine.h"
#include "operations/run_context.h"
#include "settings/run_settings.h"

namespace orgalink::operations {

// Hands one communication's settings to its engine and context and links the
// context to the communication's store; the caller keeps settings.runMode.
// Writes the settings block to the (new) log with the values exactly as
// handed over.
void ConfigureRun(RunContext& run, store::AppliStore& store, const settings::RunSettings& settings);

// Configures the link of a port search from the settings: the device code,
// the baud rate, the log (which starts afresh) and the echo. The time-outs
// stay as the engine starts, as the search has always run them.
void ConfigureSearchLink(link::LinkEngine& engine, const settings::RunSettings& settings);

}  // namespace orgalink::operations
