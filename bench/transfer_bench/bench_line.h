// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/serial_port.h"
#include "sim/organizer_contents.h"
#include "sim/sim_options.h"

namespace orgalink::bench {

// One way to reach the simulated organizer.
class BenchLine {
 public:
  virtual ~BenchLine() = default;

  virtual std::string Name() const = 0;
  // The line's pace in bit/s; 0 for a line that moves bytes as fast as the
  // system does.
  virtual int Baud() const = 0;
  virtual platform::PortOpener Opener() = 0;
  // Whether the organizer now holds `expected`; nothing where it cannot be
  // looked at.
  virtual std::optional<bool> Holds(const sim::OrganizerContents& expected) = 0;
  // Ends the organizer and gives the processor time it used, where it ran in
  // a process of its own.
  virtual std::optional<double> Finish() { return std::nullopt; }
};

// The organizer in this process, at the far end of a virtual line paced at
// `baud`.
std::unique_ptr<BenchLine> MakeVirtualLine(const sim::SimOptions& options,
                                           sim::OrganizerContents contents, int baud);

// The organizer served on a pseudo-terminal by `program simulate --pty` (the
// command-line program) in a child process, its contents in `state_file`.
// Null, with the reason in `error`, when it does not come up.
std::unique_ptr<BenchLine> MakePtyLine(const std::string& program, const std::string& state_file,
                                       bool echo, std::string& error);

}  // namespace orgalink::bench
