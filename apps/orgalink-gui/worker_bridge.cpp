// SPDX-License-Identifier: GPL-3.0-or-later
#include "worker_bridge.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <memory>

#include "report_event.h"

namespace orgalink::gui {

// A call waiting for the dialog's thread. It is shared with the queued call,
// which may still run after the worker has stopped waiting.
struct WorkerBridge::Pending {
  bool answered = false;
  bool answer = false;
};

WorkerBridge::WorkerBridge(QWidget& dialog, UserPrompts& prompts)
    : dialog_(dialog), prompter_(&dialog, prompts) {}

void WorkerBridge::Open() {
  std::lock_guard lock(mutex_);
  open_ = true;
  ++run_;
}

void WorkerBridge::Close() {
  {
    std::lock_guard lock(mutex_);
    open_ = false;
  }
  changed_.notify_all();
}

bool WorkerBridge::IsCurrent(std::uint64_t run) const {
  std::lock_guard lock(mutex_);
  return open_ && run == run_;
}

std::uint64_t WorkerBridge::CurrentRun() const {
  std::lock_guard lock(mutex_);
  return run_;
}

bool WorkerBridge::RunInDialogThread(std::function<bool()> action) {
  const std::uint64_t run = CurrentRun();
  if (QThread::currentThread() == dialog_.thread()) return IsCurrent(run) && action();
  auto pending = std::make_shared<Pending>();
  {
    std::lock_guard lock(mutex_);
    if (!open_) return false;
    // Queued behind every event reported so far, so that a box never
    // overtakes the progress reported before it.
    QMetaObject::invokeMethod(
        &dialog_,
        [this, run, pending, action = std::move(action)] {
          if (!IsCurrent(run)) return;
          const bool answer = action();
          {
            std::lock_guard answered(mutex_);
            pending->answer = answer;
            pending->answered = true;
          }
          changed_.notify_all();
        },
        Qt::QueuedConnection);
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return pending->answered || !open_ || run_ != run; });
  return pending->answered && pending->answer;
}

void WorkerBridge::Report(const link::ProgressEvent& event) {
  if (event.kind == link::ProgressKind::DetectChecking) {
    // The search goes on to the port only once the dialog names it.
    RunInDialogThread([this, event] {
      ReportEvent report(event, CurrentRun());
      QCoreApplication::sendEvent(&dialog_, &report);
      return true;
    });
    return;
  }
  std::lock_guard lock(mutex_);
  if (open_) QCoreApplication::postEvent(&dialog_, new ReportEvent(event, run_));
}

bool WorkerBridge::RetryOrCancel(const std::string& text, const link::Cause& cause,
                                 const std::string& caption) {
  return RunInDialogThread([=, this] { return prompter_.RetryOrCancel(text, cause, caption); });
}

void WorkerBridge::Inform(const std::string& text, const std::string& caption) {
  RunInDialogThread([=, this] {
    prompter_.Inform(text, caption);
    return true;
  });
}

bool WorkerBridge::Confirm(const std::string& text, const std::string& caption) {
  return RunInDialogThread([=, this] { return prompter_.Confirm(text, caption); });
}

}  // namespace orgalink::gui
