// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/progress_status_line.h"

#include "ui/progress_application.h"

namespace orgalink::ui {

std::string StatusLineOf(const ProgressModel& model, int runMode, bool withRecords) {
  std::string line = model.StatusText();
  if (line.empty()) return line;
  const char* application =
      model.FollowsOneApplication() ? nullptr : ApplicationAtPosition(runMode, model.BarPosition());
  if (application != nullptr) line += std::string(" ") + application;
  if (const std::optional<int> records = model.RecordsSoFar(); withRecords && records) {
    line += " (" + std::to_string(*records) + (*records == 1 ? " record)" : " records)");
  }
  return line;
}

}  // namespace orgalink::ui
