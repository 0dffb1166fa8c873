// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/pseudo_terminal.h"
#include "sim/sim_options.h"
#include "sim/sim_organizer.h"

namespace orgalink::sim {

// The organizer serving a real pseudo-terminal, so that any program can open
// DevicePath() as its serial port. PC-LINK is pressed at once and the
// organizer offers LINK_REQUEST again after every session, without end
// (whatever `relink` and `offer_window_ms` say), on the system clock.
class PtyService {
 public:
  // Null, with the reason in `error`, when the pseudo-terminal cannot be had
  // or the organizer's files cannot be read.
  static std::unique_ptr<PtyService> Start(SimOptions options, std::string& error);
  // Stops the organizer and hangs up the line.
  ~PtyService();
  PtyService(const PtyService&) = delete;
  PtyService& operator=(const PtyService&) = delete;

  const std::string& DevicePath() const { return pty_->DevicePath(); }
  SimOrganizer& Organizer() { return *organizer_; }

  // Blocks until Stop() is called (false) or the hang-up fault has cut the
  // line (true).
  bool Wait();
  // Safe from any thread.
  void Stop();

 private:
  PtyService() = default;
  void HungUp();

  std::unique_ptr<platform::PseudoTerminal> pty_;
  std::unique_ptr<SimOrganizer> organizer_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stop_ = false;
  bool hung_up_ = false;
};

enum class PtyServeEnd { Interrupted, HungUp, Failed };

// Serves a new pseudo-terminal until SIGINT or SIGTERM (or the hang-up
// fault). `on_ready` gets the device path as soon as the organizer offers on
// it; on Failed `error` says why. Call it before any other thread is started,
// so that the interrupt reaches it.
PtyServeEnd ServePtyUntilInterrupted(const SimOptions& options,
                                     const std::function<void(const std::string&)>& on_ready,
                                     std::string& error);

}  // namespace orgalink::sim
