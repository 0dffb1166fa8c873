// SPDX-License-Identifier: GPL-3.0-or-later
#include "ports_json.h"

#include <nlohmann/json.hpp>

namespace orgalink::cli {

namespace {

// Keys keep the order in which docs/json-output.md lists them.
using json = nlohmann::ordered_json;

// The COM ports whose [Ports] device, its links followed as the listing's
// input holds it, leads to the port's node.
json ComPortsOf(const platform::SerialPortEntry& port, const std::array<std::string, 4>& com) {
  const std::string node = platform::ResolveDevicePath(port.devicePath);
  json numbers = json::array();
  for (std::size_t i = 0; i < com.size(); ++i) {
    if (com[i] == node) numbers.push_back(i + 1);
  }
  return numbers;
}

json UsbOf(const platform::SerialPortEntry& port) {
  if (!port.usb) return nullptr;
  return {{"vendorId", port.usb->vendorId},
          {"productId", port.usb->productId},
          {"manufacturer", port.usb->manufacturer},
          {"product", port.usb->product}};
}

json AccessOf(const platform::DeviceAccess& access) {
  return {{"exists", access.exists},
          {"mayOpen", access.readWrite},
          {"group", access.group},
          {"groupMayOpen", access.groupReadWrite},
          {"membershipPending", access.membershipPending}};
}

}  // namespace

std::string PortListingJson(const ui::PortListingInput& input) {
  json ports = json::array();
  for (const platform::SerialPortEntry& port : input.ports) {
    ports.push_back({{"name", port.name},
                     {"device", port.devicePath},
                     {"driver", port.driver},
                     {"usb", UsbOf(port)},
                     {"byId", port.links},
                     {"comPorts", ComPortsOf(port, input.comDevices)},
                     {"access", AccessOf(port.access)}});
  }
  json com = json::object();
  for (std::size_t i = 0; i < input.comDevices.size(); ++i) {
    com["COM" + std::to_string(i + 1)] = input.comDevices[i];
  }
  const json listing = {{"settingsFile", input.settingsFile},
                        {"comDevices", com},
                        {"modemManagerRunning", input.modemManagerRunning},
                        {"ports", ports}};
  return listing.dump(2) + "\n";
}

}  // namespace orgalink::cli
