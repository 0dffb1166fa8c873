// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <cstdint>

#include "link/progress_sink.h"

namespace orgalink::gui {

// A worker's progress event on its way to a dialog through the dialog
// thread's event queue, which keeps the order in which the worker reported.
// It carries the number of the run that reported it, so that a dialog never
// acts on what a run reported after the dialog began to close.
class ReportEvent : public QEvent {
 public:
  ReportEvent(const link::ProgressEvent& event, std::uint64_t run)
      : QEvent(EventType()), event_(event), run_(run) {}

  static QEvent::Type EventType();

  const link::ProgressEvent& Event() const { return event_; }
  std::uint64_t Run() const { return run_; }

 private:
  link::ProgressEvent event_;
  std::uint64_t run_;
};

}  // namespace orgalink::gui
