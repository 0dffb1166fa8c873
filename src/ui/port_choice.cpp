// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/port_choice.h"

#include <charconv>
#include <memory>

#include "platform/posix_serial_port.h"
#include "platform/virtual_line.h"

namespace orgalink::ui {

namespace {

// The cause of a failed open names the device, since "COM3" or "COM port"
// alone does not tell which node was tried.
std::unique_ptr<platform::SerialPort> OpenNamed(const std::string& device, int baud,
                                                platform::Clock& clock, std::string& error) {
  auto port = platform::OpenPosixSerialPort(device, baud, clock, error);
  if (!port) error = device + ": " + error;
  return port;
}

}  // namespace

std::optional<PortChoice> ParsePortChoice(std::string_view text) {
  PortChoice choice;
  if (text == "loop") {
    choice.kind = PortChoice::Kind::Loop;
    return choice;
  }
  if (!text.empty() && text.front() == '/') {
    choice.kind = PortChoice::Kind::Device;
    choice.device = std::string(text);
    return choice;
  }
  if (text.substr(0, 3) == "COM") text.remove_prefix(3);
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < 1 || number > 4) {
    return std::nullopt;
  }
  choice.com = number;
  return choice;
}

platform::PortOpener MakePortOpener(const PortChoice& choice, const settings::ComDevices& devices,
                                    platform::Clock& clock) {
  if (choice.kind == PortChoice::Kind::Loop) {
    std::shared_ptr<platform::VirtualLine> line;
    return [line, &clock](int, int baud, std::string& error) mutable {
      if (!line) {
        line = std::make_shared<platform::VirtualLine>(
            clock, platform::VirtualLine::Options{.echo_a = true, .pacing_baud = baud});
      }
      auto port = line->Open(platform::VirtualLine::End::A);
      if (!port) error = "the loopback port is already open";
      return port;
    };
  }
  if (choice.kind == PortChoice::Kind::Device) {
    return [device = choice.device, &clock](int, int baud, std::string& error) {
      return OpenNamed(device, baud, clock, error);
    };
  }
  // The engine names the port it opens: a port search tries COM1..COM4 in
  // turn, and each must reach its own device.
  return [devices, &clock](int port, int baud, std::string& error) {
    return OpenNamed(devices.For(port), baud, clock, error);
  };
}

}  // namespace orgalink::ui
