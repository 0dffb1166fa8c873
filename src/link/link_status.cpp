#include "link/link_status.h"

namespace orgalink::link {

const char* StatusMessage(LinkStatus status) {
  static const char* const kTexts[] = {
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
      "",
      "",
  };
  if (status < 0 || status > LinkFileReadCancelled) return "Error.";
  return kTexts[status];
}

}  // namespace orgalink::link
