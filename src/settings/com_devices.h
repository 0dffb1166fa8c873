// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <vector>

namespace orgalink::settings {

// The serial devices that the port numbers stand for (section [Ports] of the
// settings file): a device named for COM<n>, or else /dev/ttyS<n-1>. Any
// number may be named, not only COM1..COM4.
class ComDevices {
 public:
  std::string For(int port) const;
  void Set(int port, std::string device);
  // The numbers a device is named for, in ascending order.
  std::vector<int> Named() const;

 private:
  std::map<int, std::string> named_;
};

}  // namespace orgalink::settings
