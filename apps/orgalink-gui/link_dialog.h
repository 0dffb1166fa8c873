#pragma once

#include <QDialog>

namespace orgalink::gui {

class LinkMessageEvent;

// A dialog that a worker reports to: the worker's messages arrive as
// LinkMessageEvents, in the order posted, and go to HandleLinkMessage.
class LinkDialog : public QDialog {
 public:
  using QDialog::QDialog;

 protected:
  bool event(QEvent* event) override;
  virtual void HandleLinkMessage(const LinkMessageEvent& message) = 0;
};

}  // namespace orgalink::gui
