// SPDX-License-Identifier: GPL-3.0-or-later
#include "failure_report.h"

#include <cstdio>

#include "ui/end_notice.h"
#include "ui/failure_advice.h"

namespace orgalink::cli {

void ReportFailure(const link::StepResult& result, bool stopRequested) {
  link::LinkStatus status = result.status;
  // The user's stop is what ended the run, whatever status it left: an abort
  // that met a write ends with 11, an interrupted Retry question with 17.
  if (stopRequested && status != link::LinkOk) status = link::LinkAborted;
  if (status == link::LinkAborted && !stopRequested) {
    std::fprintf(
        stderr, "orgalink: internal fault: the run ended as aborted, but no abort was requested\n");
    return;
  }
  if (const auto notice = ui::EndNoticeFor(status)) {
    std::fprintf(stderr, "%s\n", notice->text.c_str());
  }
  const std::string advice = ui::FailureAdvice({status, result.cause});
  if (!advice.empty()) std::fprintf(stderr, "%s\n", advice.c_str());
}

}  // namespace orgalink::cli
