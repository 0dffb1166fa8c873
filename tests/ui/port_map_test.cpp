// SPDX-License-Identifier: GPL-3.0-or-later
// The COM1..COM4 device map the COM port dialog edits.

#include "ui/port_map.h"

#include <gtest/gtest.h>

namespace orgalink::ui {
namespace {

TEST(PortMap, PortsOutsideOneToFourHaveNoDevice) {
  const PortMap devices{"/a", "/b", "/c", "/d"};
  const platform::PortOpener open =
      MakeMappedPortOpener(devices, platform::SystemClock::Instance());
  for (const int port : {0, 5, -1}) {
    std::string error;
    EXPECT_EQ(open(port, 19200, error), nullptr) << port;
    EXPECT_FALSE(error.empty());
  }
}

TEST(PortMap, OffersStableNamesBeforeEachNode) {
  platform::SerialPortEntry usb;
  usb.devicePath = "/dev/ttyUSB0";
  usb.links = {"/dev/serial/by-id/usb-FTDI-if00-port0"};
  platform::SerialPortEntry uart;
  uart.devicePath = "/dev/ttyS0";
  EXPECT_EQ(OfferedDevices({uart, usb}),
            (std::vector<std::string>{"/dev/ttyS0", "/dev/serial/by-id/usb-FTDI-if00-port0",
                                      "/dev/ttyUSB0"}));
}

}  // namespace
}  // namespace orgalink::ui
