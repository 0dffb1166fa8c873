// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "sim/in_process_organizer.h"

namespace orgalink::cli {

// Where the simulated organizer keeps its contents between runs: beside the
// user's backup folder, so that a restore shows up in the next backup.
std::string SimulatorStateFile();

// True for "sim", "sim:E", "sim:E+" and "sim:M".
bool IsSimulatedPort(std::string_view portName);

// For a port named "sim", "sim:E", "sim:E+" or "sim:M": the simulated
// organizer at the far end of an in-process cable paced at `baud`, echoing
// like the cable when `echo` is on. Null for any other name, or with the
// reason in `error` when its files cannot be had.
std::unique_ptr<sim::InProcessOrganizer> OpenSimulatedPort(std::string_view portName, bool echo,
                                                           int baud, std::string& error);

}  // namespace orgalink::cli
