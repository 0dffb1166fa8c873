// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "link/progress_sink.h"
#include "user_prompts.h"
#include "worker_bridge.h"

namespace orgalink::gui {

// A dialog that a worker reports to through its bridge: the worker's events
// arrive in the order reported and go to HandleProgress. Once the dialog
// ends, the bridge is closed, so that a worker still calling in is answered
// at once instead of waiting for an event loop that has stopped.
class LinkDialog : public QDialog {
 public:
  LinkDialog(QWidget* parent, Qt::WindowFlags flags, UserPrompts& prompts);

  WorkerBridge& Bridge() { return bridge_; }

  void done(int result) override;

 protected:
  bool event(QEvent* event) override;
  virtual void HandleProgress(const link::ProgressEvent& event) = 0;

 private:
  WorkerBridge bridge_;
};

}  // namespace orgalink::gui
