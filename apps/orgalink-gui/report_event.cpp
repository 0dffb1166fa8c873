// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_event.h"

namespace orgalink::gui {

QEvent::Type ReportEvent::EventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

}  // namespace orgalink::gui
