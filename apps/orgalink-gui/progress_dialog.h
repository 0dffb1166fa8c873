#pragma once

#include <functional>
#include <string>

#include "link/link_engine.h"
#include "link_dialog.h"
#include "operations/read_back_check.h"
#include "operations/run_context.h"
#include "platform/cancel_token.h"
#include "platform/program_directory.h"
#include "settings/run_settings.h"
#include "store/appli_store.h"
#include "ui/progress_model.h"
#include "ui/safe_restore_texts.h"
#include "user_prompts.h"
#include "worker_thread.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace orgalink::gui {

// The modal dialog that runs one backup or restore on a worker thread and
// shows its progress. It owns the communication's engine and store; the
// worker reports only through the bridge, and the dialog ends only on the
// worker's end event, so nothing the worker uses dies before it is done.
class ProgressDialog : public LinkDialog {
  Q_OBJECT

 public:
  // What the worker runs; RunCommunication unless a test replaces it.
  using Communication = std::function<link::StepResult(link::FrontEnd)>;

  // The store converts records with the character tables in `tableDirectory`,
  // the same folder the main window loaded its tables from.
  ProgressDialog(QWidget* parent, UserPrompts& prompts, platform::Clock& clock,
                 const std::string& tableDirectory = platform::DataDirectory());
  ~ProgressDialog() override;

  // Hands the settings to the engine and keeps the RunMode; before exec().
  void ConfigureRun(const settings::RunSettings& settings);
  link::LinkEngine& Engine() { return engine_; }
  // What became of a restore's safety copy, once the dialog has ended.
  ui::SafetyCopy Safety() const;
  // Makes the backup of this dialog one into memory only, every
  // application's stream kept in `streams`; after ConfigureRun.
  void ReadBackInto(operations::ReceivedStreams& streams);
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
  // The abort request of this dialog's one communication; once set, the end
  // reads as an abort, whatever failure the request met on its way.
  platform::CancelToken abortRequest_;
  link::LinkEngine engine_;
  store::AppliStore store_;
  operations::RunContext run_;
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
