// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::platform {

// Whether this user may use a device node, and what decides it.
struct DeviceAccess {
  bool exists = false;          // the node is there
  bool readWrite = false;       // this user may open it for reading and writing
  std::string group;            // its group's name (the number when it has none)
  bool groupReadWrite = false;  // members of that group may read and write it
  // The user is listed in that group, but this login session started before.
  bool membershipPending = false;
};

// Judged from the node's permissions, without opening it.
DeviceAccess JudgeDeviceAccess(const std::string& path);

}  // namespace orgalink::platform
