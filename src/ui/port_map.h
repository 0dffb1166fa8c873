// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "platform/serial_port_list.h"
#include "settings/com_devices.h"

namespace orgalink::ui {

// The devices behind COM1..COM4, the ports the dialogs offer and the port
// search probes.
using PortMap = std::array<std::string, 4>;

PortMap PortMapOf(const settings::ComDevices& devices);
void SetPortMap(settings::ComDevices& devices, const PortMap& map);

// Opens "COM<n>" as the device `devices` maps it to, whatever port number
// the engine asks for, as the port search does; a number outside 1..4 has
// no device.
platform::PortOpener MakeMappedPortOpener(const PortMap& devices, platform::Clock& clock);

// The devices to offer for COM1..COM4: each port found, its stable
// /dev/serial/by-id names first (they survive a replug), then its node.
std::vector<std::string> OfferedDevices(const std::vector<platform::SerialPortEntry>& ports);

}  // namespace orgalink::ui
