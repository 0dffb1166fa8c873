// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/port_access_advice.h"

namespace orgalink::ui {

namespace {

std::string JoinGroupCommand(const std::string& group) {
  return "sudo usermod -aG " + group + " $USER";
}

// Joining the node's group helps only where that group may read and write
// it; joining root is no fix to offer anyone.
bool GroupGrantsAccess(const platform::DeviceAccess& access) {
  return access.groupReadWrite && access.group != "root";
}

}  // namespace

std::vector<std::string> PortAccessAdvice(const platform::SerialPortEntry& port) {
  const platform::DeviceAccess& access = port.access;
  if (!access.exists) return {"unknown: there is no device node at " + port.devicePath};
  if (access.readWrite) return {"this user may read and write it"};
  if (!GroupGrantsAccess(access)) {
    return {access.groupReadWrite ? "not allowed: only its owner and group root may open it"
                                  : "not allowed: only its owner may open it",
            "Fix: a udev rule in /etc/udev/rules.d/ such as",
            "  KERNEL==\"" + port.name + "\", GROUP=\"dialout\", MODE=\"0660\"",
            "then " + JoinGroupCommand("dialout") + ", and log out and in again."};
  }
  if (access.membershipPending) {
    return {
        "not yet: this user joined group " + access.group + " after logging in",
        "Fix: log out and in again (or start a shell in the group: newgrp " + access.group + ")."};
  }
  return {"not allowed: it belongs to group " + access.group + ", which this user is not in",
          "Fix: " + JoinGroupCommand(access.group) + ", then log out and in again."};
}

}  // namespace orgalink::ui
