#include "ui/progress_status_line.h"

#include "ui/progress_application.h"

namespace orgalink::ui {

std::string StatusLineOf(const ProgressModel& model, int runMode) {
  std::string line = model.StatusText();
  const char* application =
      model.FollowsOneApplication() ? nullptr : ApplicationAtPosition(runMode, model.BarPosition());
  if (application != nullptr && !line.empty()) line += std::string(" ") + application;
  return line;
}

}  // namespace orgalink::ui
