// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/detect_devices.h"

#include <algorithm>

namespace orgalink::ui {

namespace {

constexpr int kComPorts = 4;

bool IsAdapter(const platform::SerialPortEntry& port) {
  return port.usb.has_value() || port.name.starts_with("ttyUSB") || port.name.starts_with("ttyACM");
}

bool ReachedByCom(const platform::SerialPortEntry& port, const settings::ComDevices& comDevices) {
  const std::string node = platform::ResolveDevicePath(port.devicePath);
  for (int com = 1; com <= kComPorts; ++com) {
    if (platform::ResolveDevicePath(comDevices.For(com)) == node) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> ExtraDetectDevices(const std::vector<platform::SerialPortEntry>& ports,
                                            const settings::ComDevices& comDevices) {
  std::vector<const platform::SerialPortEntry*> tried;
  for (const platform::SerialPortEntry& port : ports) {
    if (port.access.exists && port.access.readWrite && !ReachedByCom(port, comDevices)) {
      tried.push_back(&port);
    }
  }
  std::stable_partition(tried.begin(), tried.end(),
                        [](const platform::SerialPortEntry* port) { return IsAdapter(*port); });
  std::vector<std::string> devices;
  for (const platform::SerialPortEntry* port : tried) {
    devices.push_back(port->links.empty() ? port->devicePath : port->links.front());
  }
  return devices;
}

settings::ComDevices WithExtraDevices(settings::ComDevices comDevices,
                                      const std::vector<std::string>& extra) {
  for (std::size_t i = 0; i < extra.size(); ++i) {
    comDevices.Set(kComPorts + 1 + static_cast<int>(i), extra[i]);
  }
  return comDevices;
}

}  // namespace orgalink::ui
