#pragma once

#include "link/link_engine.h"
#include "link/run_settings.h"

namespace orgalink::store {
class AppliStore;
}

namespace orgalink::link {

// Hands one communication's settings to its engine and links the engine to
// the communication's store; the caller keeps settings.runMode. Writes the
// settings block to the (new) log with the values exactly as handed over.
void ConfigureRun(LinkEngine& engine, store::AppliStore& store, const RunSettings& settings);

}  // namespace orgalink::link
