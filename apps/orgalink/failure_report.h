#pragma once

#include <string>
#include <vector>

#include "link/link_status.h"

namespace orgalink::cli {

// Prints on standard error what the user is told when a run ends with
// `status`: the status text, then a line with the cause and what to try.
// Nothing for success and for a cancelled retry. A run that the user asked
// to stop (`stopRequested`) and that did not succeed is reported as aborted;
// an abort that nobody requested as the program's own fault.
void ReportFailure(link::LinkStatus status, bool stopRequested,
                   const std::vector<std::string>& cause, const std::string& openError);

}  // namespace orgalink::cli
