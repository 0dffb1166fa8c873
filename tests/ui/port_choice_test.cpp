// SPDX-License-Identifier: GPL-3.0-or-later
// Which device a COM port number opens.

#include "ui/port_choice.h"

#include <gtest/gtest.h>

#include "platform/cancel_token.h"
#include "support/pty.h"
#include "support/temp_dir.h"

namespace orgalink::ui {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A port search opens COM1..COM4 through one opener; each number must reach
// the device [Ports] maps it to, not the one the user's choice named.
TEST(PortOpener, EachComNumberOpensItsOwnDevice) {
  testsupport::TempDir dir;
  testsupport::Pty com2;
  testsupport::Pty com3;
  settings::ComDevices devices;
  devices.Set(1, dir.File("no-such-device"));
  devices.Set(2, com2.slave_path());
  devices.Set(3, com3.slave_path());
  platform::Clock& clock = platform::SystemClock::Instance();
  const platform::PortOpener open =
      MakePortOpener(PortChoice{PortChoice::Kind::Com, 1, {}}, devices, clock);

  std::string error;
  EXPECT_EQ(open(1, 19200, error), nullptr);
  EXPECT_FALSE(error.empty());
  for (auto [number, pty, other] : {std::tuple{2, &com2, &com3}, std::tuple{3, &com3, &com2}}) {
    error.clear();
    const auto port = open(number, 19200, error);
    ASSERT_NE(port, nullptr) << number << ": " << error;
    const Bytes sent = {0x7F, 0x06, 0x00, 0x00, static_cast<std::uint8_t>(number)};
    std::size_t written = 0;
    ASSERT_EQ(port->Write(sent.data(), sent.size(), written, platform::Deadline(clock, 5000),
                          platform::CancelToken::Never()),
              platform::WaitResult::Ready);
    EXPECT_EQ(pty->Read(sent.size()), sent) << number;
    EXPECT_TRUE(other->Read(1, 100).empty()) << number;
  }
}

}  // namespace
}  // namespace orgalink::ui
