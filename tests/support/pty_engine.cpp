// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/pty_engine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/posix_serial_port.h"

namespace orgalink::testsupport {

PtyEngine::PtyEngine() {
  engine.Link().SetEchoBack(false);
  engine.Link().SetComPort(0);
  engine.Link().SetPortOpener([this](int, int baud, std::string& error) {
    return platform::OpenPosixSerialPort(pty.slave_path(), baud, platform::SystemClock::Instance(),
                                         error);
  });
}

link::StepResult PtyEngine::RunAnswered(const std::function<link::StepResult()>& step,
                                        const Bytes& answer) {
  if (!engine.Link().OpenPort(0)) {
    ADD_FAILURE() << "the pseudo-terminal did not open: " << engine.Link().OpenError();
    return link::LinkStatus{-1};
  }
  std::thread organizer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    pty.Write(answer);
  });
  const link::StepResult status = step();
  organizer.join();
  engine.Link().ClosePort();
  return status;
}

}  // namespace orgalink::testsupport
