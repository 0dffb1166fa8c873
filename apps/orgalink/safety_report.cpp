// SPDX-License-Identifier: GPL-3.0-or-later
#include "safety_report.h"

#include <cstdio>

#include "ui/safe_restore_texts.h"

namespace orgalink::cli {

void ReportSafety(const CommunicationResult& result, bool json) {
  const ui::SafetyCopy copy = session::SafetyCopyOf(result.outcome);
  if (result.succeeded) {
    if (json) return;  // the object names the safety archive
    const std::string line = ui::SafetyWrittenLine(copy);
    if (!line.empty()) std::printf("%s\n", line.c_str());
    return;
  }
  const std::string note = ui::SafetyNote(copy, ui::RestoreFront::CommandLine);
  if (!note.empty()) std::fprintf(stderr, "%s\n", note.c_str());
}

}  // namespace orgalink::cli
