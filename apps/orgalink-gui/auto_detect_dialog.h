// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/auto_detect.h"
#include "link_dialog.h"
#include "platform/cancel_token.h"
#include "session/session.h"
#include "settings/run_settings.h"
#include "ui/port_map.h"
#include "user_prompts.h"
#include "worker_thread.h"

class QLabel;
class QPushButton;

namespace orgalink::gui {

// "Auto Detect": probes COM1..COM4 for an organizer on a worker thread of its
// own, each search a session of its own. Search() gives the port found,
// 1..4, or nothing. One dialog may run several times; each run starts as
// freshly made.
class AutoDetectDialog : public LinkDialog {
  Q_OBJECT

 public:
  // The search the worker runs; the session's unless a test replaces it.
  using Detection = std::function<link::DetectResult(session::Session&, link::ProgressSink&)>;

  AutoDetectDialog(QWidget* parent, UserPrompts& prompts, platform::Clock& clock);
  ~AutoDetectDialog() override;

  // The search link's device code, baud rate, log and echo; before Search().
  // The log starts afresh now.
  void Configure(const settings::RunSettings& settings);
  // For looking only: the engine of the next search.
  const link::LinkEngine& Engine() const { return search_->Engine(); }
  // Shows the dialog until the user leaves it or a search ends, probing
  // the devices that `devices` puts behind COM1..COM4.
  std::optional<int> Search(const ui::PortMap& devices);
  void SetDetection(Detection detection);
  // The settings file whose [Ports] the failure advice names.
  void SetSettingsFile(std::string path) { settingsFile_ = std::move(path); }

 protected:
  void HandleProgress(const link::ProgressEvent& event) override;
  void showEvent(QShowEvent* event) override;
  // Cancel before a search ends the dialog with -1; during a search the
  // button reads "&Abort" and asks the search to stop instead.
  void reject() override;

 private:
  void Proceed();
  void NewSearch();

  UserPrompts& prompts_;
  platform::Clock& clock_;
  settings::RunSettings settings_;
  std::string settingsFile_;
  ui::PortMap devices_;
  // The abort request of the current search, made afresh for each: it
  // latches.
  std::unique_ptr<platform::CancelToken> abortRequest_;
  // The current search; the worker's while it runs.
  std::unique_ptr<session::Session> search_;
  Detection detection_;
  std::optional<int> found_;
  // The current search has run; the next one gets a session of its own.
  bool searched_ = false;
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
