// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "pc_side.h"
#include "platform/serial_port.h"
#include "sim/sim_organizer.h"
#include "store/code_tables.h"
#include "support/line_fixture.h"

namespace orgalink::simtest {

// The committed data folder, with its trailing '/'.
std::string DataDirectory();
// The committed sample as the organizer holds it.
sim::OrganizerContents Sample();

// The committed character tables, as the program loads them.
store::CharTables Tables();

// Options for an organizer on the committed tables and sample, its state in
// `state_file`.
sim::SimOptions TestOptions(const std::string& state_file);

// The organizer on end B of a virtual line on virtual time, made from the
// sample, and the product's engine on end A with the organizer's echo
// setting and the program-wide tables.
class SimRun {
 public:
  explicit SimRun(sim::SimOptions options, platform::VirtualLine::Options line = {});
  explicit SimRun(const sim::SimFaults& faults);
  ~SimRun();

  // Presses PC-LINK from the PC's thread, then runs `pc` there; `elapsed`
  // gets the virtual time it took.
  link::StepResult RunPc(const std::function<link::StepResult()>& pc,
                         std::uint32_t* elapsed = nullptr);

  link::StepResult Backup(Applis& fetched, std::uint32_t* elapsed = nullptr);
  link::StepResult Restore(const Applis& applis);

  testsupport::LineFixture f;
  store::CharTables tables;
  transfer::TelephoneCheck check;
  std::string state_file;
  std::unique_ptr<platform::SerialPort> organizer_port;
  std::unique_ptr<sim::SimOrganizer> organizer;
};

}  // namespace orgalink::simtest
