// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "platform/virtual_line.h"
#include "sim/sim_options.h"
#include "sim/sim_organizer.h"

namespace orgalink::sim {

// The organizer at the far end of an in-process cable (what a port named
// "sim" stands for): a virtual line paced at the given rate, the organizer
// running on one end, and an opener for the PC's end. Opening the PC's end
// presses PC-LINK, so that every communication finds the organizer offering.
// With `echo` in the options the cable, not the organizer, returns the PC's
// bytes.
class InProcessOrganizer {
 public:
  // Null, with the reason in `error`, when the organizer's files cannot be
  // read or its thread cannot be started. `baud` 0 makes the cable instant.
  static std::unique_ptr<InProcessOrganizer> Create(
      const SimOptions& options, int baud, std::string& error,
      platform::Clock& clock = platform::SystemClock::Instance());
  // With given contents, kept in memory only (the benchmarks' reference
  // organizer, say). Null when its thread cannot be started.
  static std::unique_ptr<InProcessOrganizer> WithContents(
      const SimOptions& options, OrganizerContents contents, int baud,
      platform::Clock& clock = platform::SystemClock::Instance());
  // Stops the organizer before the cable goes.
  ~InProcessOrganizer();
  InProcessOrganizer(const InProcessOrganizer&) = delete;
  InProcessOrganizer& operator=(const InProcessOrganizer&) = delete;

  // For the engine's SetPortOpener: the port number and rate are ignored.
  platform::PortOpener Opener();
  SimOrganizer& Organizer() { return *organizer_; }
  platform::VirtualLine& Line() { return *line_; }

 private:
  InProcessOrganizer() = default;
  static std::unique_ptr<InProcessOrganizer> Wire(std::unique_ptr<SimOrganizer> organizer, int baud,
                                                  bool echo, platform::Clock& clock);

  std::unique_ptr<platform::VirtualLine> line_;
  std::unique_ptr<platform::SerialPort> organizer_port_;
  std::unique_ptr<SimOrganizer> organizer_;
};

}  // namespace orgalink::sim
