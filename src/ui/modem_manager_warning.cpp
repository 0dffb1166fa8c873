// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/modem_manager_warning.h"

#include <set>

namespace orgalink::ui {

namespace {

// One rule line per kind of adapter found; a placeholder where none is
// plugged in yet.
std::set<std::string> IgnoreRules(const std::vector<platform::SerialPortEntry>& ports) {
  std::set<std::string> rules;
  for (const platform::SerialPortEntry& port : ports) {
    if (!port.usb) continue;
    rules.insert("ATTRS{idVendor}==\"" + port.usb->vendorId + "\", ATTRS{idProduct}==\"" +
                 port.usb->productId + "\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"");
  }
  if (rules.empty()) {
    rules.insert(
        "ATTRS{idVendor}==\"<vendor>\", ATTRS{idProduct}==\"<product>\", "
        "ENV{ID_MM_DEVICE_IGNORE}=\"1\"");
  }
  return rules;
}

}  // namespace

std::string ModemManagerWarning(const std::vector<platform::SerialPortEntry>& ports) {
  std::string text =
      "Warning: ModemManager is running. It probes every USB serial port that appears with\n"
      "modem commands, which disturb the organizer, and holds the port while it does.\n"
      "To keep it off:\n"
      "  sudo systemctl disable --now ModemManager\n"
      "or, to keep it running but away from the adapter, a rule in\n"
      "/etc/udev/rules.d/99-orgalink.rules:\n";
  for (const std::string& rule : IgnoreRules(ports)) text += "  " + rule + "\n";
  text += "then sudo udevadm control --reload-rules, and plug the adapter in again.\n";
  return text;
}

}  // namespace orgalink::ui
