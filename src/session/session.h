// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/auto_detect.h"
#include "link/front_end.h"
#include "link/link_engine.h"
#include "operations/read_back_check.h"
#include "operations/run_context.h"
#include "platform/cancel_token.h"
#include "platform/clock.h"
#include "platform/serial_port.h"
#include "session/session_outcome.h"
#include "session/session_request.h"
#include "settings/run_settings.h"
#include "store/appli_store.h"
#include "store/code_tables.h"
#include "ui/port_choice.h"

namespace orgalink::session {

// Where a session talks to: a port choice opened through the settings'
// [Ports], or, when `opener` is set, whatever it opens (the simulated
// organizer, a test's line, the devices a port dialog shows).
struct PortSource {
  ui::PortChoice choice;
  platform::PortOpener opener;
};

// One communication with the organizer, whole: the settings with the
// user's request laid over them, the engine with its port and its abort
// request, the run's context, store and character tables. A front end
// builds one for each communication or port search and reads the outcome;
// nothing of a run is assembled anywhere else. `cancel` stops every wait of
// the run; it must outlive the session.
class Session {
 public:
  Session(settings::RunSettings settings, SessionRequest request, PortSource port,
          platform::Clock& clock, platform::CancelToken& cancel);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Performs the communication; once per session.
  SessionOutcome Communicate(link::FrontEnd front);

  // Looks for the organizer on COM1..COM4 and then on `extraDevices`, which
  // the port source opens as ports 5, 6, ...; with the settings' device
  // code, baud rate, log and echo.
  link::DetectResult SearchPorts(link::ProgressSink* progress,
                                 const std::vector<std::string>& extraDevices);
  // Configures the search's link ahead of the search (its log starts
  // afresh now); SearchPorts does it when nobody did.
  void PrepareSearch();

  const settings::RunSettings& Settings() const { return settings_; }
  const SessionRequest& Request() const { return request_; }
  // For looking only: what the run handed the engine.
  const link::LinkEngine& Engine() const { return engine_; }

 private:
  void Configure();
  SessionOutcome Outcome(link::StepResult result) const;

  settings::RunSettings settings_;
  SessionRequest request_;
  platform::Clock& clock_;
  store::CharTables tables_;
  link::LinkEngine engine_;
  store::AppliStore store_;
  operations::RunContext run_;
  operations::ReceivedStreams received_;
  std::optional<operations::PlannedRestore> planned_;
  bool searchPrepared_ = false;
};

}  // namespace orgalink::session
