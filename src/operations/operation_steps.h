#pragma once

#include <cstdint>
#include <string>

#include "link/link_engine.h"
#include "link/link_owner.h"
#include "link/link_status.h"
#include "platform/clock.h"

namespace orgalink::operations {

// Steps the backup and restore operations share.

// Posts one of the operation's own milestones (lParam OperationScope), if
// there is an owner.
void PostOperationProgress(link::LinkOwner* owner, std::uint32_t message, std::uint32_t position);

// Ends a failing operation step: `status` also becomes the engine's status.
link::LinkStatus FailStep(link::LinkEngine& engine, link::LinkStatus status);

// Releases the organizer at the end of an operation that negotiated itself.
link::LinkStatus SendEndCommunication(link::LinkEngine& engine);

// Asks the user, in the "Error" box with Retry and Cancel, whether to try a
// failed archive read or write again; without an owner the answer is Cancel.
bool AskRetry(link::LinkOwner* owner, const std::string& text);

// Logs "<name>Time=%dsec" and, when a log is kept, shows "SUCCESS <name>"
// with the time in a box captioned `name` ("Backup" or "Restore").
void ReportSuccess(link::LinkEngine& engine, link::LinkOwner* owner, const char* name,
                   platform::Tick start);

}  // namespace orgalink::operations
