// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/pty_far_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

namespace orgalink::testsupport {

using platform::WaitResult;

PtyFarPort::PtyFarPort(Pty& pty)
    : master_(pty.master_fd()),
      slave_(open(pty.slave_path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {}

PtyFarPort::~PtyFarPort() {
  if (slave_ >= 0) close(slave_);
}

bool PtyFarPort::Purge(bool input, bool /*output*/) {
  std::uint8_t buffer[256];
  while (input && Read(buffer, sizeof buffer) > 0) {
  }
  return true;
}

int PtyFarPort::InQueue() {
  int queued = 0;
  return ioctl(master_, FIONREAD, &queued) == 0 ? queued : -1;
}

int PtyFarPort::Read(std::uint8_t* buffer, std::size_t max) {
  const int queued = InQueue();
  if (queued <= 0) return queued;
  return static_cast<int>(read(master_, buffer, std::min<std::size_t>(max, queued)));
}

// The master takes what the slave's side has room for at once; a test's
// frames never fill it.
WaitResult PtyFarPort::Write(const std::uint8_t* data, std::size_t count, std::size_t& written,
                             platform::Tick /*deadline*/, const platform::CancelToken& /*cancel*/) {
  while (written < count) {
    const ssize_t put = write(master_, data + written, count - written);
    if (put <= 0) return WaitResult::Error;
    written += static_cast<std::size_t>(put);
  }
  return WaitResult::Ready;
}

WaitResult PtyFarPort::WaitInput(std::size_t count, platform::Tick deadline,
                                 const platform::CancelToken& cancel) {
  platform::Clock& clock = platform::SystemClock::Instance();
  for (;;) {
    if (cancel.IsSet()) return WaitResult::Cancelled;
    if (InQueue() >= static_cast<int>(count)) return WaitResult::Ready;
    if (platform::Expired(clock, deadline)) return WaitResult::Timeout;
    pollfd fds[2] = {{master_, POLLIN, 0}, {cancel.WakeFd(), POLLIN, 0}};
    const int left = static_cast<std::int32_t>(deadline - clock.Now()) + 1;
    if (poll(fds, 2, std::max(left, 0)) < 0) return WaitResult::Error;
  }
}

// A script's waits need no finer grain than the tick.
WaitResult PtyFarPort::WaitInputFor(std::size_t count, std::chrono::microseconds limit,
                                    const platform::CancelToken& cancel) {
  const auto ms = static_cast<std::uint32_t>((limit.count() + 999) / 1000);
  return WaitInput(count, platform::Deadline(platform::SystemClock::Instance(), ms), cancel);
}

}  // namespace orgalink::testsupport
