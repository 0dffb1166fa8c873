// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/serial_port_list.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

namespace orgalink::platform {

namespace {

namespace fs = std::filesystem;

// Device folders are at most this far above a tty's own device: the USB
// device above its interface above a usb-serial port, or the controller above
// the serial core's port and controller nodes.
constexpr int kLevelsUp = 3;

// Calls `visit` for each entry of a folder; a missing or unreadable folder
// has none.
void ForEachEntry(const std::string& folder, const std::function<void(const fs::path&)>& visit) {
  std::error_code error;
  fs::directory_iterator entry(folder, error);
  for (; !error && entry != fs::directory_iterator(); entry.increment(error)) visit(entry->path());
}

// A sysfs attribute's first line, "" when it is missing.
std::string Attribute(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
  return line;
}

// The name a sysfs link points to: "ftdi_sio" for a driver link.
std::string LinkName(const fs::path& link) {
  std::error_code error;
  const fs::path target = fs::read_symlink(link, error);
  return error ? std::string() : target.filename().string();
}

// The serial core lists a slot for every UART it may drive; one where no
// chip answered has type 0 and cannot be used.
bool IsEmptyUartSlot(const fs::path& tty) {
  return Attribute(tty / "type") == "0";
}

// The serial core puts generic port and controller nodes between a tty and
// the device that owns it; the owner's driver is the one worth naming.
std::string DriverOf(fs::path device) {
  for (int level = 0; level < kLevelsUp && LinkName(device / "subsystem") == "serial-base";
       ++level) {
    device = device.parent_path();
  }
  return LinkName(device / "driver");
}

std::optional<UsbIdentity> UsbIdentityOf(fs::path device) {
  for (int level = 0; level <= kLevelsUp; ++level, device = device.parent_path()) {
    std::error_code error;
    if (!fs::exists(device / "idVendor", error)) continue;
    return UsbIdentity{Attribute(device / "idVendor"), Attribute(device / "idProduct"),
                       Attribute(device / "manufacturer"), Attribute(device / "product")};
  }
  return std::nullopt;
}

std::optional<SerialPortEntry> PortOf(const fs::path& tty, const SerialPortRoots& roots) {
  std::error_code error;
  const fs::path device = fs::canonical(tty / "device", error);
  if (error || IsEmptyUartSlot(tty)) return std::nullopt;
  SerialPortEntry port;
  port.name = tty.filename().string();
  port.devicePath = roots.dev + "/" + port.name;
  port.driver = DriverOf(device);
  port.usb = UsbIdentityOf(device);
  return port;
}

// A by-id link names its port by a relative path ("../../ttyUSB0"). A link
// to a tty the kernel's list lacks still makes a port.
void AddByIdLink(const fs::path& link, std::vector<SerialPortEntry>& ports) {
  std::error_code error;
  const fs::path target = fs::read_symlink(link, error);
  if (error) return;
  const fs::path node = (link.parent_path() / target).lexically_normal();
  const std::string name = node.filename().string();
  auto port = std::find_if(ports.begin(), ports.end(),
                           [&](const SerialPortEntry& p) { return p.name == name; });
  if (port == ports.end()) {
    port = ports.insert(ports.end(), SerialPortEntry{});
    port->name = name;
    port->devicePath = node.string();
  }
  port->links.push_back(link.string());
}

// "ttyS10" sorts after "ttyS2": by the name's stem, then by its number.
bool NaturalOrder(const SerialPortEntry& a, const SerialPortEntry& b) {
  const auto key = [](const std::string& name) {
    const std::size_t digits = name.find_last_not_of("0123456789") + 1;
    return std::tuple(name.substr(0, digits), name.size() - digits, name);
  };
  return key(a.name) < key(b.name);
}

}  // namespace

std::vector<SerialPortEntry> ListSerialPorts(const SerialPortRoots& roots) {
  std::vector<SerialPortEntry> ports;
  ForEachEntry(roots.sysClassTty, [&](const fs::path& tty) {
    if (auto port = PortOf(tty, roots)) ports.push_back(std::move(*port));
  });
  ForEachEntry(roots.serialById, [&](const fs::path& link) { AddByIdLink(link, ports); });
  std::sort(ports.begin(), ports.end(), NaturalOrder);
  for (SerialPortEntry& port : ports) {
    std::sort(port.links.begin(), port.links.end());
    port.access = JudgeDeviceAccess(port.devicePath);
  }
  return ports;
}

std::string ResolveDevicePath(const std::string& path) {
  std::error_code error;
  const fs::path resolved = fs::canonical(path, error);
  return error ? path : resolved.string();
}

}  // namespace orgalink::platform
