// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "platform/unique_fd.h"

namespace orgalink::platform {

// A fresh pseudo-terminal: this program talks on its master side as a device
// would, any other program opens DevicePath() as a serial port. The device
// side is held open here as well, so that the master sees no hang-up while no
// program has the device open, and it starts raw, so that nothing is echoed
// by the line discipline. Destruction hangs up the line.
class PseudoTerminal {
 public:
  // Null on failure, with the system's reason in `error`.
  static std::unique_ptr<PseudoTerminal> Open(int baud, Clock& clock, std::string& error);

  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& DevicePath() const { return device_path_; }
  // The master side.
  SerialPort& Port() { return *master_; }

 private:
  PseudoTerminal() = default;

  UniqueFd device_;
  std::unique_ptr<SerialPort> master_;
  std::string device_path_;
};

}  // namespace orgalink::platform
