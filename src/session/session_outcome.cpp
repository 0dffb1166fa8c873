// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/session_outcome.h"

namespace orgalink::session {

ui::SafetyCopy SafetyCopyOf(const operations::RestoreSafety& safety, std::string recoveryCommand) {
  return {safety.written ? safety.archive : std::string(), safety.failed, safety.writeError,
          safety.deletionsBegun, std::move(recoveryCommand)};
}

ui::SafetyCopy SafetyCopyOf(const SessionOutcome& outcome) {
  return SafetyCopyOf(outcome.safety, outcome.recoveryCommand);
}

}  // namespace orgalink::session
