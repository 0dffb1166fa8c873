// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/port_listing.h"

#include <algorithm>

#include "ui/modem_manager_warning.h"
#include "ui/port_access_advice.h"

namespace orgalink::ui {

namespace {

constexpr const char* kIndent = "               ";

std::string Description(const platform::SerialPortEntry& port) {
  std::string text = port.driver.empty() ? "driver unknown" : port.driver;
  if (!port.usb) return text;
  const platform::UsbIdentity& usb = *port.usb;
  text += ", USB " + usb.vendorId + ":" + usb.productId;
  for (const std::string* name : {&usb.manufacturer, &usb.product}) {
    if (!name->empty()) text += " " + *name;
  }
  return text;
}

// A slot may name the port by its node or by one of its stable links.
bool SlotOpens(const std::string& device, const platform::SerialPortEntry& port) {
  return device == port.devicePath ||
         std::find(port.links.begin(), port.links.end(), device) != port.links.end();
}

std::string ComSlots(const platform::SerialPortEntry& port,
                     const std::array<std::string, 4>& comDevices) {
  std::string slots;
  for (std::size_t i = 0; i < comDevices.size(); ++i) {
    if (!SlotOpens(comDevices[i], port)) continue;
    slots += (slots.empty() ? "COM" : ", COM") + std::to_string(i + 1);
  }
  return slots;
}

// Each port as a block of labelled lines; `slots` is "" when none opens it.
std::string PortBlock(const platform::SerialPortEntry& port, const std::string& slots) {
  std::string text = port.devicePath + "\n  Description: " + Description(port) + "\n";
  for (std::size_t i = 0; i < port.links.size(); ++i) {
    text += (i == 0 ? "  By id:       " : kIndent) + port.links[i] + "\n";
  }
  text += "  COM slot:    " + (slots.empty() ? std::string("none") : slots) + "\n";
  const std::vector<std::string> access = PortAccessAdvice(port);
  for (std::size_t i = 0; i < access.size(); ++i) {
    text += (i == 0 ? "  Access:      " : kIndent) + access[i] + "\n";
  }
  return text;
}

std::string NoPortsText() {
  return "No serial ports found.\n"
         "A USB serial adapter appears here once it is plugged in (as /dev/ttyUSB0 or\n"
         "/dev/ttyACM0). Any device can also be named directly: --port /dev/ttyUSB0.\n";
}

std::string SlotHint(const std::string& settingsFile) {
  return "To use a port as COMn, set COMn=<device path> in section [Ports] of\n" + settingsFile +
         ", or name the device with --port.\n";
}

}  // namespace

std::string FormatPortListing(const PortListingInput& input) {
  std::string text = input.ports.empty() ? NoPortsText() : "Serial ports found:\n";
  bool unmapped = false;
  for (const platform::SerialPortEntry& port : input.ports) {
    const std::string slots = ComSlots(port, input.comDevices);
    unmapped = unmapped || slots.empty();
    text += "\n" + PortBlock(port, slots);
  }
  if (unmapped) text += "\n" + SlotHint(input.settingsFile);
  if (input.modemManagerRunning) text += "\n" + ModemManagerWarning(input.ports);
  return text;
}

}  // namespace orgalink::ui
