// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/serial_port.h"
#include "support/pty.h"

namespace orgalink::testsupport {

// The master side of a pseudo-terminal as a serial port, so that the
// organizer scripts of the virtual line (FarEnd, PlayBackup, PlayRestore)
// can play against a program that opened the slave. Waits use the system
// clock. While it lives it holds the slave open as well: the master then
// never reports a hang-up, before the program opened its side or after it
// closed it, and a wait blocks instead of returning at once.
class PtyFarPort : public platform::SerialPort {
 public:
  explicit PtyFarPort(Pty& pty);
  ~PtyFarPort() override;
  PtyFarPort(const PtyFarPort&) = delete;
  PtyFarPort& operator=(const PtyFarPort&) = delete;

  bool Purge(bool input, bool output) override;
  int InQueue() override;
  int OutQueue() override { return 0; }
  int Read(std::uint8_t* buffer, std::size_t max) override;
  platform::WaitResult Write(const std::uint8_t* data, std::size_t count, std::size_t& written,
                             platform::Tick deadline, const platform::CancelToken& cancel) override;
  platform::WaitResult WaitInput(std::size_t count, platform::Tick deadline,
                                 const platform::CancelToken& cancel) override;
  platform::WaitResult WaitInputFor(std::size_t count, std::chrono::microseconds limit,
                                    const platform::CancelToken& cancel) override;
  platform::WaitResult WaitOutputEmpty(platform::Tick, const platform::CancelToken&) override {
    return platform::WaitResult::Ready;
  }

 private:
  int master_;
  int slave_;
};

}  // namespace orgalink::testsupport
