#pragma once

#include <QEvent>
#include <cstdint>

namespace orgalink::gui {

// A worker's window message (WM_LINK_..., WM_DETECT_...) on its way to a
// dialog through the dialog thread's event queue, which keeps the order in
// which the worker posted.
class LinkMessageEvent : public QEvent {
 public:
  LinkMessageEvent(std::uint32_t message, std::uint32_t wparam, std::int32_t lparam)
      : QEvent(EventType()), message_(message), wparam_(wparam), lparam_(lparam) {}

  static QEvent::Type EventType();

  std::uint32_t Message() const { return message_; }
  std::uint32_t WParam() const { return wparam_; }
  std::int32_t LParam() const { return lparam_; }

 private:
  std::uint32_t message_;
  std::uint32_t wparam_;
  std::int32_t lparam_;
};

}  // namespace orgalink::gui
