#include "link_dialog.h"

#include "link_message_event.h"

namespace orgalink::gui {

bool LinkDialog::event(QEvent* event) {
  if (event->type() == LinkMessageEvent::EventType()) {
    HandleLinkMessage(static_cast<const LinkMessageEvent&>(*event));
    return true;
  }
  return QDialog::event(event);
}

}  // namespace orgalink::gui
