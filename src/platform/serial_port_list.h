// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/device_access.h"

namespace orgalink::platform {

// The USB device behind an adapter, as its descriptors name it.
struct UsbIdentity {
  std::string vendorId;      // idVendor, four hex digits
  std::string productId;     // idProduct
  std::string manufacturer;  // "" where the device gives no string
  std::string product;
};

// One serial port of this machine.
struct SerialPortEntry {
  std::string name;                // kernel name, "ttyUSB0"
  std::string devicePath;          // its device node
  std::string driver;              // kernel driver, "" when unknown
  std::optional<UsbIdentity> usb;  // for USB adapters
  std::vector<std::string> links;  // stable names in /dev/serial/by-id
  DeviceAccess access;
};

// Where the kernel's view is read from; tests point these into a fake tree.
struct SerialPortRoots {
  std::string sysClassTty = "/sys/class/tty";
  std::string dev = "/dev";
  std::string serialById = "/dev/serial/by-id";
};

// The ports found, in natural name order (ttyS2 before ttyS10): every tty
// backed by a device, except UART slots the kernel reserved without finding
// a chip, plus any port known only by a by-id link. Nothing is opened:
// opening raises DTR, and some devices reset on that.
std::vector<SerialPortEntry> ListSerialPorts(const SerialPortRoots& roots = {});

// The node a device path leads to once its links are followed, or the path
// itself when it leads nowhere.
std::string ResolveDevicePath(const std::string& path);

}  // namespace orgalink::platform
