#include "failure_report.h"

#include <cstdio>

#include "ui/end_notice.h"
#include "ui/failure_advice.h"

namespace orgalink::cli {

void ReportFailure(link::LinkStatus status, bool stopRequested,
                   const std::vector<std::string>& cause, const std::string& openError) {
  if (status == link::LinkAborted && !stopRequested) {
    std::fprintf(
        stderr, "orgalink: internal fault: the run ended as aborted, but no abort was requested\n");
    return;
  }
  if (const auto notice = ui::EndNoticeFor(status)) {
    std::fprintf(stderr, "%s\n", notice->text.c_str());
  }
  const std::string advice = ui::FailureAdvice({status, cause, openError});
  if (!advice.empty()) std::fprintf(stderr, "%s\n", advice.c_str());
}

}  // namespace orgalink::cli
