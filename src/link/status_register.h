// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/link_status.h"
#include "link/step_result.h"

namespace orgalink::link {

// The status of the last step taken with the organizer. Every step of the
// byte link and of the protocol leaves its result here, where the log and
// the engine's Status() show it; what a step did is told by the result it
// returns, never read back from here.
class StatusRegister {
 public:
  // `port` -1 stores `code` as it is. A port number 1..4 stores the status
  // that names that port: the port itself for LinkOk, "port error on COMn"
  // otherwise. Any other port, and any status while the register holds a
  // number outside the protocol's, stores LinkPortError.
  // Hands back what it stored.
  LinkStatus Set(LinkStatus code, int port);
  LinkStatus Get() const { return status_; }
  // Stores `code` and hands it back with the cause of the failure.
  StepResult Fail(LinkStatus code, Cause cause);

 private:
  LinkStatus status_ = LinkOk;
};

}  // namespace orgalink::link
