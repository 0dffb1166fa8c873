// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "dialog_prompter.h"
#include "link/front_end.h"
#include "user_prompts.h"

namespace orgalink::gui {

// The dialog's side of a worker's communication or search. The worker calls
// it; it reaches the dialog only through the dialog thread's event queue, in
// the order of the calls: events are queued as ReportEvents; DetectChecking
// and the questions wait until the dialog's thread has dealt with them.
//
// Once the dialog begins to close (Close), nothing waits for it any more: a
// question pending or asked later answers Cancel or no, and events are
// dropped, so that a worker never hangs on a dialog whose event loop has
// ended. Open starts the next run of a dialog used again.
class WorkerBridge final : public link::ProgressSink, public link::Prompter {
 public:
  WorkerBridge(QWidget& dialog, UserPrompts& prompts);

  link::FrontEnd Front() { return {this, this}; }

  void Open();
  void Close();
  // Whether what run `run` reported is still for the dialog: the bridge is
  // open and no other run has started since.
  bool IsCurrent(std::uint64_t run) const;

  void Report(const link::ProgressEvent& event) override;
  bool RetryOrCancel(const std::string& text, const link::Cause& cause,
                     const std::string& caption) override;
  void Inform(const std::string& text, const std::string& caption) override;
  bool Confirm(const std::string& text, const std::string& caption) override;

 private:
  struct Pending;

  // Runs `action` on the dialog's thread and returns its answer once it has
  // run; false, whether it ran or not, once the dialog is closing.
  bool RunInDialogThread(std::function<bool()> action);
  std::uint64_t CurrentRun() const;

  QWidget& dialog_;
  DialogPrompter prompter_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = true;
  std::uint64_t run_ = 0;
};

}  // namespace orgalink::gui
