// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "link/link_engine.h"
#include "link_dialog.h"
#include "platform/cancel_token.h"
#include "platform/program_directory.h"
#include "session/session.h"
#include "settings/run_settings.h"
#include "ui/progress_model.h"
#include "ui/safe_restore_texts.h"
#include "user_prompts.h"
#include "worker_thread.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace orgalink::gui {

// The modal dialog that runs one backup or restore on a worker thread and
// shows its progress. It owns the communication's session; the worker
// reports only through the bridge, and the dialog ends only on the worker's
// end event, so nothing the worker uses dies before it is done.
class ProgressDialog : public LinkDialog {
  Q_OBJECT

 public:
  // What the worker runs; the session's communication unless a test
  // replaces it.
  using Communication = std::function<link::StepResult(link::FrontEnd)>;

  // The session converts records with the character tables in
  // `tableDirectory`, the same folder the main window loaded its tables from.
  ProgressDialog(QWidget* parent, UserPrompts& prompts, platform::Clock& clock,
                 const std::string& tableDirectory = platform::DataDirectory());
  ~ProgressDialog() override;

  // Makes the dialog's one session of `request` with `settings`, through
  // the port the settings' COMPort names; before Run().
  void ConfigureRun(const settings::RunSettings& settings, session::SessionRequest request);
  // The same, with the RunMode, AppliMode and archive the settings hold.
  void ConfigureRun(const settings::RunSettings& settings);
  // Shows the dialog until the communication has ended and gives what it
  // left; an abort the user asked for reads as such.
  session::SessionOutcome Run();
  // For looking only: the engine the session configured.
  const link::LinkEngine& Engine() const { return session_->Engine(); }
  const platform::CancelToken& AbortRequest() const { return abortRequest_; }
  void SetCommunication(Communication communication);

  QString StatusText() const;
  int BarPosition() const;

 protected:
  void HandleProgress(const link::ProgressEvent& event) override;
  void showEvent(QShowEvent* event) override;
  // The Abort button, Esc and the window's close request: ask the worker to
  // stop; its end message closes the dialog. Asking twice is asking once.
  void reject() override;

 private:
  void Start();
  void Refresh();
  void End(link::LinkStatus status);

  UserPrompts& prompts_;
  platform::Clock& clock_;
  std::string tableDirectory_;
  // The abort request of this dialog's one communication; once set, the end
  // reads as an abort, whatever failure the request met on its way.
  platform::CancelToken abortRequest_;
  std::unique_ptr<session::Session> session_;
  // Written by the worker before its end event, read after it.
  session::SessionOutcome outcome_;
  settings::RunMode runMode_ = settings::RunMode::Negotiate;
  ui::ProgressModel model_;
  Communication communication_;
  QProgressBar* bar_;
  QLabel* statusLabel_;
  bool started_ = false;
  // Last, so that it is joined before anything the worker uses goes.
  WorkerThread worker_;
};

}  // namespace orgalink::gui
