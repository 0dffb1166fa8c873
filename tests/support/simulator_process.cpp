// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/simulator_process.h"

#include <chrono>
#include <thread>

namespace orgalink::testsupport {

SimulatorProcess::SimulatorProcess(const std::string& program, std::vector<std::string> args) {
  args.insert(args.begin(), {"simulate", "--pty"});
  program_ = std::make_unique<RunningProgram>(program, args);
  // The first line of its output is the device, written once it offers.
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < give_up) {
    const std::string out = program_->OutputSoFar();
    const auto end = out.find('\n');
    if (end != std::string::npos) {
      device_ = out.substr(0, end);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace orgalink::testsupport
