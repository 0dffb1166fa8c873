// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "settings/com_devices.h"

namespace orgalink::ui {

// Where a communication talks to: "COM1".."COM4" (through the [Ports]
// section of the settings file), a device path named directly, or the
// built-in loopback plug that returns every byte written.
struct PortChoice {
  enum class Kind { Com, Device, Loop } kind = Kind::Com;
  int com = 1;
  std::string device;

  // The port number the engine reports in its status: 1..4, or 0 for any
  // other device (a failure there reads "Error opening COM port.").
  int Number() const { return kind == Kind::Com ? com : 0; }
};

// Accepts "1".."4", "COM1".."COM4", "loop" or a path starting with '/'.
std::optional<PortChoice> ParsePortChoice(std::string_view text);

// Opens what the engine asks for. With a COM choice every port number the
// engine opens maps to its own device through `devices` ([Ports]); a device path
// and the loopback plug are one port whatever number is asked for. The
// loopback line is made on the first open.
platform::PortOpener MakePortOpener(const PortChoice& choice, const settings::ComDevices& devices,
                                    platform::Clock& clock);

}  // namespace orgalink::ui
