// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/serial_port_list.h"

namespace orgalink::ui {

struct PortListingInput {
  std::vector<platform::SerialPortEntry> ports;
  // The device each of COM1..COM4 opens, its links followed.
  std::array<std::string, 4> comDevices;
  std::string settingsFile;  // where section [Ports] is edited
  bool modemManagerRunning = false;
};

// The text of `orgalink ports`: each port with its description, the COM
// slots that open it and whether this user may, with the fix where not.
std::string FormatPortListing(const PortListingInput& input);

}  // namespace orgalink::ui
