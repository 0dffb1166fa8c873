#pragma once

#include <functional>
#include <memory>

#include "link/link_engine.h"
#include "link_dialog.h"
#include "platform/cancel_token.h"
#include "user_prompts.h"
#include "worker_thread.h"

class QLabel;
class QPushButton;

namespace orgalink::gui {

// "Auto Detect": probes COM1..COM4 for an organizer on a worker thread of its
// own. exec() returns the port found, 1..4, or -1. One dialog may run
// several times; each run starts as freshly made.
class AutoDetectDialog : public LinkDialog {
  Q_OBJECT

 public:
  // The search the worker runs; link::AutoDetect unless a test replaces it.
  using Detection = std::function<link::StepResult(link::LinkEngine&, link::ProgressSink&)>;

  AutoDetectDialog(QWidget* parent, UserPrompts& prompts, platform::Clock& clock);
  ~AutoDetectDialog() override;

  // The engine of the search, configured by the COM port dialog.
  link::LinkEngine& Engine() { return engine_; }
  void SetDetection(Detection detection);

 protected:
  void HandleProgress(const link::ProgressEvent& event) override;
  void showEvent(QShowEvent* event) override;
  // Cancel before a search ends the dialog with -1; during a search the
  // button reads "&Abort" and asks the search to stop instead.
  void reject() override;

 private:
  void Proceed();

  UserPrompts& prompts_;
  // The abort request of the current search, made afresh for each: it
  // latches.
  std::unique_ptr<platform::CancelToken> abortRequest_;
  link::LinkEngine engine_;
  Detection detection_;
  // Why the last search found nothing, for the box that says so. The worker
  // writes it before it reports the end, and the dialog reads it on that
  // report.
  QString failureDetail_;
  QPushButton* proceed_;
  QPushButton* cancel_;
  QLabel* progressLabel_;
  QLabel* portLabel_;
  WorkerThread worker_;
};

}  // namespace orgalink::gui
