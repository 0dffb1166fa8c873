// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/detect_advice.h"

#include "ui/port_refusal.h"

namespace orgalink::ui {

std::string DetectFailureAdvice(const link::Cause& cause, const std::string& settingsFile) {
  if (cause.Type() == link::Cause::Kind::Aborted) return {};
  std::string text;
  if (!cause.Text().empty()) text = "Cause: " + cause.Text() + ".\n";
  text += "Try: ";
  // A port refused to this user stays refused however often it is pressed.
  if (cause.Type() == link::Cause::Kind::System && RefusedAccess(cause.Detail())) {
    text += std::string(kJoinPortGroupHint) + "; ";
  }
  const std::string file = settingsFile.empty() ? "the settings file" : settingsFile;
  return text +
         "press the organizer's PC-LINK button just before the search, and check that [Ports] "
         "in " +
         file + " names your serial devices.";
}

}  // namespace orgalink::ui
