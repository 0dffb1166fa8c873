// SPDX-License-Identifier: GPL-3.0-or-later
#include "link_dialog.h"

#include "report_event.h"

namespace orgalink::gui {

LinkDialog::LinkDialog(QWidget* parent, Qt::WindowFlags flags, UserPrompts& prompts)
    : QDialog(parent, flags), bridge_(*this, prompts) {}

void LinkDialog::done(int result) {
  bridge_.Close();
  QDialog::done(result);
}

bool LinkDialog::event(QEvent* event) {
  if (event->type() == ReportEvent::EventType()) {
    const auto& report = static_cast<const ReportEvent&>(*event);
    if (bridge_.IsCurrent(report.Run())) HandleProgress(report.Event());
    return true;
  }
  return QDialog::event(event);
}

}  // namespace orgalink::gui
