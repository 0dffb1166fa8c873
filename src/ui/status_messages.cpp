// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/status_messages.h"

#include <array>

namespace orgalink::ui {

const char* StatusMessages(link::LinkStatus status) {
  static constexpr std::array<const char*, 17> kTexts = {
      "User aborted.",
      "Organizer detected on COM1.",
      "Organizer detected on COM2.",
      "Organizer detected on COM3.",
      "Organizer detected on COM4.",
      "Organizer not responding.",
      "Error opening COM1.",
      "Error opening COM2.",
      "Error opening COM3.",
      "Error opening COM4.",
      "Error opening COM port.",
      "I/O Device error.",
      "Auto Detect was unable to detect your Organizer.",
      "Backup file not compatible.",
      "Communications error!\nPlease try again.",
      "Error sending not perfect.",
      "Error.",
  };
  const int code = link::ToInt(status);
  if (code < 0 || code >= static_cast<int>(kTexts.size()) - 1) return kTexts.back();
  return kTexts[static_cast<std::size_t>(code)];
}

}  // namespace orgalink::ui
