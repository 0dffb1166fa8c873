#include "ui/port_map.h"

#include "platform/posix_serial_port.h"
#include "platform/profile.h"
#include "ui/settings.h"

namespace orgalink::ui {

namespace {
std::string PortKey(std::size_t index) {
  return "COM" + std::to_string(index + 1);
}
}  // namespace

PortMap ReadPortMap(const std::string& iniPath) {
  PortMap devices;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    devices[i] = DevicePathForPort(iniPath, static_cast<int>(i + 1));
  }
  return devices;
}

bool WritePortMap(const std::string& iniPath, const PortMap& devices) {
  bool written = true;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    written = platform::WriteProfileString(iniPath, "Ports", PortKey(i), devices[i]) && written;
  }
  return written;
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
