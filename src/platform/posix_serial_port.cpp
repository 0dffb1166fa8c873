#include "platform/posix_serial_port.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <deque>

#include "platform/serial_line_settings.h"
#include "platform/unique_fd.h"

namespace orgalink::platform {

namespace {

constexpr short kDeviceFailed = POLLERR | POLLHUP | POLLNVAL;

std::string SystemText(int error) {
  return std::strerror(error);
}

// A termios device held exclusively. poll() on the device reports input as
// long as any byte is unread, so waits for a count of bytes first move what
// has arrived into a read-ahead buffer; poll then wakes only on new bytes.
class PosixSerialPort final : public SerialPort {
 public:
  PosixSerialPort(UniqueFd fd, const termios& saved, Clock& clock)
      : fd_(std::move(fd)), saved_(saved), clock_(clock) {}

  ~PosixSerialPort() override {
    tcsetattr(fd_.Get(), TCSANOW, &saved_);
    SetModemLines(fd_.Get(), false);
    ioctl(fd_.Get(), TIOCNXCL);
  }

  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  // Puts the device into raw 8N1 at `baud` with DTR and RTS raised.
  bool Configure(int baud, std::string& error) {
    baud_ = SupportedBaud(baud);
    termios settings = saved_;
    MakeRaw8N1(settings, baud_);
    if (tcsetattr(fd_.Get(), TCSANOW, &settings) != 0 || !SetModemLines(fd_.Get(), true)) {
      error = SystemText(errno);
      return false;
    }
    return true;
  }

  bool Purge(bool input, bool output) override {
    if (input) ahead_.clear();
    if (!input && !output) return true;
    int which = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
    return tcflush(fd_.Get(), which) == 0;
  }

  int InQueue() override {
    int queued = 0;
    if (ioctl(fd_.Get(), FIONREAD, &queued) != 0) return -1;
    return static_cast<int>(ahead_.size()) + queued;
  }

  int OutQueue() override {
    int queued = 0;
    if (ioctl(fd_.Get(), TIOCOUTQ, &queued) != 0) return -1;
    return queued;
  }

  int Read(std::uint8_t* buffer, std::size_t max) override {
    std::size_t got = std::min(max, ahead_.size());
    std::copy_n(ahead_.begin(), got, buffer);
    ahead_.erase(ahead_.begin(), ahead_.begin() + static_cast<std::ptrdiff_t>(got));
    while (got < max) {
      ssize_t n = read(fd_.Get(), buffer + got, max - got);
      if (n > 0) {
        got += static_cast<std::size_t>(n);
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else if (n == 0 || errno == EAGAIN || errno == EWOULDBLOCK) {
        break;
      } else {
        return got > 0 ? static_cast<int>(got) : -1;
      }
    }
    return static_cast<int>(got);
  }

  WaitResult Write(const std::uint8_t* data, std::size_t count, std::size_t& written,
                   MessageQueue& queue) override {
    while (written < count) {
      ssize_t n = write(fd_.Get(), data + written, count - written);
      if (n > 0) {
        written += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return WaitResult::Error;
      // The device takes no more for now: wait for room or a message.
      if (queue.HasMessage()) return WaitResult::Message;
      pollfd fds[2] = {{fd_.Get(), POLLOUT, 0}, {queue.WakeFd(), POLLIN, 0}};
      if (!PollOnce(fds, -1)) return WaitResult::Error;
    }
    return WaitResult::Ready;
  }

  WaitResult WaitInput(std::size_t count, Tick deadline, MessageQueue& queue) override {
    for (;;) {
      if (queue.HasMessage()) return WaitResult::Message;
      if (!FillReadAhead()) return WaitResult::Error;
      if (ahead_.size() >= count) return WaitResult::Ready;
      if (Expired(clock_, deadline)) return WaitResult::Timeout;
      pollfd fds[2] = {{fd_.Get(), POLLIN, 0}, {queue.WakeFd(), POLLIN, 0}};
      if (!PollOnce(fds, MillisecondsLeft(deadline))) {
        // The far side went away; bytes it sent before still count.
        FillReadAhead();
        return ahead_.size() >= count ? WaitResult::Ready : WaitResult::Error;
      }
    }
  }

  WaitResult WaitOutputEmpty(Tick deadline, MessageQueue& queue) override {
    for (;;) {
      if (queue.HasMessage()) return WaitResult::Message;
      int pending = OutQueue();
      if (pending < 0) return WaitResult::Error;
      if (pending == 0) return WaitResult::Ready;
      if (Expired(clock_, deadline)) return WaitResult::Timeout;
      // The driver gives no signal when its queue runs empty: sleep about as
      // long as the queued bytes take on the line, watching for messages and
      // device failure (reported even with no events asked for).
      int drain_ms = std::max(1, (pending * 10 * 1000 + baud_ - 1) / baud_);
      pollfd fds[2] = {{fd_.Get(), 0, 0}, {queue.WakeFd(), POLLIN, 0}};
      if (!PollOnce(fds, std::min(drain_ms, MillisecondsLeft(deadline)))) {
        return WaitResult::Error;
      }
    }
  }

 private:
  // Moves every byte the device holds into the read-ahead buffer. False on a
  // device error.
  bool FillReadAhead() {
    std::uint8_t chunk[512];
    for (;;) {
      ssize_t n = read(fd_.Get(), chunk, sizeof chunk);
      if (n > 0) {
        ahead_.insert(ahead_.end(), chunk, chunk + n);
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else {
        return n == 0 || errno == EAGAIN || errno == EWOULDBLOCK;
      }
    }
  }

  // Ticks until the deadline has expired, at least one.
  int MillisecondsLeft(Tick deadline) {
    std::int32_t left = static_cast<std::int32_t>(deadline - clock_.Now()) + 1;
    return std::max<std::int32_t>(left, 1);
  }

  // One poll() of the device and the queue's descriptor. False when the
  // device reports a failure or poll itself fails.
  bool PollOnce(pollfd (&fds)[2], int timeout_ms) {
    if (poll(fds, 2, timeout_ms) < 0) return errno == EINTR;
    return (fds[0].revents & kDeviceFailed) == 0;
  }

  UniqueFd fd_;
  termios saved_;
  Clock& clock_;
  int baud_ = 19200;
  std::deque<std::uint8_t> ahead_;
};

}  // namespace

std::unique_ptr<SerialPort> OpenPosixSerialPort(const std::string& path, int baud, Clock& clock,
                                                std::string& error) {
  UniqueFd fd(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  termios saved{};
  // flock keeps out other programs that respect it (and a second open in
  // this process); TIOCEXCL keeps out any later open of the device.
  if (!fd.Valid() || flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 || tcgetattr(fd.Get(), &saved) != 0 ||
      ioctl(fd.Get(), TIOCEXCL) != 0) {
    error = SystemText(errno);
    return nullptr;
  }
  auto port = std::make_unique<PosixSerialPort>(std::move(fd), saved, clock);
  if (!port->Configure(baud, error)) return nullptr;
  return port;
}

std::unique_ptr<SerialPort> AdoptPosixSerialDevice(int fd, int baud, Clock& clock,
                                                   std::string& error) {
  UniqueFd owned(fd);
  termios saved{};
  if (!owned.Valid() || tcgetattr(owned.Get(), &saved) != 0) {
    error = SystemText(owned.Valid() ? errno : EBADF);
    return nullptr;
  }
  auto port = std::make_unique<PosixSerialPort>(std::move(owned), saved, clock);
  if (!port->Configure(baud, error)) return nullptr;
  return port;
}

}  // namespace orgalink::platform
