// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/port_map.h"

#include "platform/posix_serial_port.h"

namespace orgalink::ui {

PortMap PortMapOf(const settings::ComDevices& devices) {
  PortMap map;
  for (std::size_t i = 0; i < map.size(); ++i) map[i] = devices.For(static_cast<int>(i) + 1);
  return map;
}

void SetPortMap(settings::ComDevices& devices, const PortMap& map) {
  for (std::size_t i = 0; i < map.size(); ++i) devices.Set(static_cast<int>(i) + 1, map[i]);
}

platform::PortOpener MakeMappedPortOpener(const PortMap& devices, platform::Clock& clock) {
  return [devices, &clock](int port, int baud,
                           std::string& error) -> std::unique_ptr<platform::SerialPort> {
    if (port < 1 || port > static_cast<int>(devices.size())) {
      error = "no such port";
      return nullptr;
    }
    return platform::OpenPosixSerialPort(devices[static_cast<std::size_t>(port - 1)], baud, clock,
                                         error);
  };
}

std::vector<std::string> OfferedDevices(const std::vector<platform::SerialPortEntry>& ports) {
  std::vector<std::string> devices;
  for (const platform::SerialPortEntry& port : ports) {
    devices.insert(devices.end(), port.links.begin(), port.links.end());
    devices.push_back(port.devicePath);
  }
  return devices;
}

}  // namespace orgalink::ui
