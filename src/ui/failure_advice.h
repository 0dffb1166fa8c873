// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/cause.h"
#include "link/link_status.h"
#include "ui/safe_restore_texts.h"

namespace orgalink::ui {

// What is known about a failed communication beyond its status.
struct FailureFacts {
  link::LinkStatus status = link::LinkOk;
  // What the failing step found ("opening the port: Permission denied").
  link::Cause cause;
};

// The line shown after a failure's status text: the cause the failing step
// handed back and, where one is known, what to try, for example
// "Cause: waited 10000 ms for the echo of the 5 bytes sent in vain. Try:
// check that the cable is plugged in; a cable that does not echo needs
// --echo 0 (EchoBack=0)." Empty when nothing is known, and for success, a
// user abort and a cancelled retry, which need no explaining. The dialogs
// have no options: their advice names the window's controls and the
// settings file instead.
std::string FailureAdvice(const FailureFacts& facts,
                          RestoreFront front = RestoreFront::CommandLine);

}  // namespace orgalink::ui
