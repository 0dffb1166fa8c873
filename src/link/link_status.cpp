#include "link/link_status.h"

#include <ostream>

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
  const int code = ToInt(status);
  if (code < 0 || code > ToInt(LinkFileReadCancelled)) return "Error.";
  return kTexts[code];
}

std::ostream& operator<<(std::ostream& out, LinkStatus status) {
  return out << ToInt(status);
}

}  // namespace orgalink::link
