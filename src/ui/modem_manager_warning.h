// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/serial_port_list.h"

namespace orgalink::ui {

// Said while ModemManager runs: it sends modem commands to every USB serial
// port that appears, which the organizer takes for garbage, and holds the
// port meanwhile. The udev rule it offers names the USB adapters in `ports`.
std::string ModemManagerWarning(const std::vector<platform::SerialPortEntry>& ports);

}  // namespace orgalink::ui
