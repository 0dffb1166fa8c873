#pragma once

#include <string>
#include <vector>

#include "link/link_status.h"

namespace orgalink::ui {

// What is known about a failed communication beyond its status.
struct FailureFacts {
  link::LinkStatus status = link::LinkOk;
  // The failure lines the engine noted ("Time Out(Wait Command) Break", ...).
  std::vector<std::string> cause;
  // The system's reason when the port did not open ("Permission denied").
  std::string openError;
};

// The line shown after a failure's status text: the cause the log recorded
// and, where one is known, what to try, for example
// "Cause: NOT Receive EchoBack. Try: check that the cable is plugged in; a
// cable that does not echo needs --echo 0 (EchoBack=0)." Empty when nothing
// is known, and for success, a user abort and a cancelled retry, which need
// no explaining.
std::string FailureAdvice(const FailureFacts& facts);

}  // namespace orgalink::ui
