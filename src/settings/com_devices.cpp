// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/com_devices.h"

namespace orgalink::settings {

std::string ComDevices::For(int port) const {
  const auto named = named_.find(port);
  return named != named_.end() ? named->second : "/dev/ttyS" + std::to_string(port - 1);
}

void ComDevices::Set(int port, std::string device) {
  named_[port] = std::move(device);
}

std::vector<int> ComDevices::Named() const {
  std::vector<int> ports;
  for (const auto& [port, device] : named_) ports.push_back(port);
  return ports;
}

}  // namespace orgalink::settings
