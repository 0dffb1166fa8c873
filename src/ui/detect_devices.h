// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "platform/serial_port_list.h"
#include "settings/com_devices.h"

namespace orgalink::ui {

// The devices the command line's port search tries after COM1..COM4: every
// port of `ports` that this user may open and that none of COM1..COM4 in
// `comDevices` reaches already, USB and ACM adapters first (those are what
// people plug an organizer into), each named by its first /dev/serial/by-id
// link where it has one, since that name survives a replug.
std::vector<std::string> ExtraDetectDevices(const std::vector<platform::SerialPortEntry>& ports,
                                            const settings::ComDevices& comDevices);

// `comDevices` with the devices of `extra` as ports 5, 6, ..., the numbers
// under which that search opens them.
settings::ComDevices WithExtraDevices(settings::ComDevices comDevices,
                                      const std::vector<std::string>& extra);

}  // namespace orgalink::ui
