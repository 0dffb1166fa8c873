// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/cancel_token.h"
#include "platform/clock.h"
#include "platform/serial_port.h"
#include "sim/organizer_contents.h"
#include "sim/organizer_session.h"
#include "sim/shared_contents.h"
#include "sim/sim_options.h"
#include "sim/telephone_sort.h"

namespace orgalink::sim {

// What the organizer has been through, for tests and reports.
struct SimStats {
  int sessions = 0;  // communications that got past the opening
  bool ended_any = false;
  SessionEnd last_end = SessionEnd::Stopped;
  // Every intact command received since the latest session opened, in order.
  std::vector<std::uint8_t> commands;
  // Why the state file could not be written after a session, if it could not.
  std::string save_error;
};

// A simulated Brelan Pellico organizer on a serial line: after a press of its
// PC-LINK button it offers LINK_REQUEST, identifies as the configured variant
// and serves the PC's backup and restore commands from contents that live in
// a state file. It runs on a thread of its own, on the clock it is given.
//
// Typical use:
//   auto organizer = SimOrganizer::Create(options, clock, error);
//   organizer->Attach(port);  // the PC is on the other end
//   organizer->Start();
//   organizer->PressPcLink();
//   ... the PC communicates ...
//   organizer->Stop();
//
// On a VirtualClock its thread counts as a participant while PC-LINK is in
// effect (from the press until it gives up offering or a session ends
// without relink), so that simulated time waits for it. Press PC-LINK from a
// participant thread, or before the PC starts to wait, or time may run past
// the offers.
class SimOrganizer {
 public:
  // Contents from the state file; a missing state file (or `reset_to_sample`)
  // is made from the sample first. Without a state file the sample is used
  // and nothing is saved. Null, with the reason in `error`, when a file
  // cannot be read or written.
  static std::unique_ptr<SimOrganizer> Create(const SimOptions& options, platform::Clock& clock,
                                              std::string& error);

  // Given contents, kept in memory whatever `options.state_file` says.
  SimOrganizer(const SimOptions& options, platform::Clock& clock, OrganizerContents contents);
  ~SimOrganizer();
  SimOrganizer(const SimOrganizer&) = delete;
  SimOrganizer& operator=(const SimOrganizer&) = delete;

  // The line to talk on; it must stay open while the organizer runs, and
  // only the organizer's thread uses it. `hang_up` cuts the line for the
  // hang-up fault (the organizer stops using the port after calling it).
  void Attach(platform::SerialPort& port, std::function<void()> hang_up = {});

  // Starts the organizer's thread, idle until PC-LINK is pressed. False
  // without a port, or when no stop token can be made.
  bool Start();
  // Ends any communication, saves changed contents and joins the thread.
  void Stop();

  // Starts offering LINK_REQUEST; returns once the organizer has taken the
  // press. While it offers or communicates already, the press makes it offer
  // again once it is done (and returns at once).
  void PressPcLink();
  // Blocks until the organizer is idle again (or stopped).
  void WaitUntilIdle();

  OrganizerContents Contents() const;
  SimStats Stats() const;

 private:
  SimOrganizer(const SimOptions& options, platform::Clock& clock, OrganizerContents contents,
               TelephoneSort sort, std::string state_file);

  void ThreadMain();
  bool WaitForPress();
  void TakePress();
  bool BecomeIdle();
  void RunActive(const platform::CancelToken& stop);
  void EndSession(const OrganizerSession& session, SessionEnd end, SimLine& line);
  void Record(std::uint8_t command);

  const SimOptions options_;
  platform::Clock& clock_;
  const TelephoneSort sort_;
  const std::string state_file_;
  SharedContents contents_;
  platform::SerialPort* port_ = nullptr;
  std::function<void()> hang_up_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool running_ = false;
  bool stopping_ = false;
  bool press_pending_ = false;
  bool active_ = false;
  // Made afresh for each run of the thread: it latches.
  std::unique_ptr<platform::CancelToken> stop_;
  SimStats stats_;
  std::thread thread_;
};

}  // namespace orgalink::sim
