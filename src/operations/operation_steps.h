// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "link/link_engine.h"
#include "link/progress_sink.h"
#include "link/prompter.h"
#include "link/step_result.h"
#include "platform/clock.h"
#include "transfer/transfer_role.h"

namespace orgalink::operations {

// Steps the backup and restore operations share.

// Reports one of the operation's own milestones (a Status or Progress of
// the Operation scope), if anyone watches.
void ReportMilestone(link::ProgressSink* progress, link::ProgressKind kind, int position,
                     link::ProgressScope scope = link::ProgressScope::Operation);

// Runs `step`, which moves one application. The expense category table
// (`table`) goes in one packet and reports nothing of its own; moved alone,
// it still shows where it starts and ends, in the Application scope.
link::StepResult WithTableMilestones(bool table, link::ProgressSink* progress,
                                     const std::function<link::StepResult()>& step);

// Ends a failing operation step: `status` also becomes the engine's status,
// and `cause` goes with it.
link::StepResult FailStep(link::LinkEngine& engine, link::LinkStatus status, link::Cause cause);

// The cause of a step that the store refused ("the store refused the
// records"), with what the store was asked to do.
link::Cause StoreRefused(const std::string& what);

// An operation that runs a whole communication (PcFull) opens it with the
// negotiation and releases the organizer with END_COMMUNICATION at its end;
// as a bare step (PcStep) it does neither and these return 16.
link::StepResult NegotiateIfFull(link::LinkEngine& engine, link::ProgressSink* progress,
                                 transfer::TransferRole role);
link::StepResult EndIfFull(link::LinkEngine& engine, transfer::TransferRole role);

// Asks the user, in the "Error" box with Retry and Cancel, whether to try a
// failed archive read or write again, `cause` telling why it failed; without
// anyone to ask the answer is Cancel.
bool AskRetry(link::Prompter* prompter, const std::string& text, const link::Cause& cause);

// Logs "<name>Time=%dsec" and, when a log is kept, shows "SUCCESS <name>"
// with the time in a box captioned `name` ("Backup" or "Restore").
void ReportSuccess(link::LinkEngine& engine, link::Prompter* prompter, const char* name,
                   platform::Tick start);

}  // namespace orgalink::operations
