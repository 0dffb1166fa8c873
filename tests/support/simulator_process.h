// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/run_program.h"

namespace orgalink::testsupport {

// `orgalink simulate --pty` run by `program` with `args` (--state, --variant,
// --fault ...), and the pseudo-terminal it offers on.
class SimulatorProcess {
 public:
  SimulatorProcess(const std::string& program, std::vector<std::string> args);

  // The device path, once the simulator has printed it; empty when it did
  // not within ten seconds.
  const std::string& Device() const { return device_; }
  RunningProgram& Program() { return *program_; }

 private:
  std::unique_ptr<RunningProgram> program_;
  std::string device_;
};

}  // namespace orgalink::testsupport
