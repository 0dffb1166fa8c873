// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix_serial_port.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <deque>

#include "platform/port_holder.h"
#include "platform/serial_line_settings.h"
#include "platform/unique_fd.h"

namespace orgalink::platform {

namespace {

constexpr short kDeviceFailed = POLLERR | POLLHUP | POLLNVAL;

// How long closing waits for written bytes beyond the time they take on the
// line, before it throws them away: a stuck adapter must not hang the program.
constexpr std::int64_t kCloseDrainSlackMs = 1000;

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

  // The saved settings may run at another rate, and dropping DTR may make the
  // far side stop listening: both wait until the last frame has left.
  ~PosixSerialPort() override {
    DrainOutput();
    tcsetattr(fd_.Get(), TCSANOW, &saved_);
    latency_.Restore(fd_.Get());
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
    latency_.Request(fd_.Get());
    return true;
  }

  bool Purge(bool input, bool output) override {
    if (input) ahead_.clear();
    if (!input && !output) return true;
    int which = input && output ? TCIOFLUSH : (input ? TCIFLUSH : TCOFLUSH);
    if (tcflush(fd_.Get(), which) == 0) return true;
    last_error_ = errno;
    return false;
  }

  int InQueue() override {
    int queued = 0;
    if (ioctl(fd_.Get(), FIONREAD, &queued) != 0) {
      last_error_ = errno;
      return -1;
    }
    return static_cast<int>(ahead_.size()) + queued;
  }

  int OutQueue() override {
    int queued = 0;
    if (ioctl(fd_.Get(), TIOCOUTQ, &queued) != 0) {
      last_error_ = errno;
      return -1;
    }
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
        last_error_ = errno;
        return got > 0 ? static_cast<int>(got) : -1;
      }
    }
    return static_cast<int>(got);
  }

  WaitResult Write(const std::uint8_t* data, std::size_t count, std::size_t& written, Tick deadline,
                   const CancelToken& cancel) override {
    for (;;) {
      if (cancel.IsSet()) return WaitResult::Cancelled;
      if (!WriteWhatFits(data, count, written)) return WaitResult::Error;
      if (written >= count) return WaitResult::Ready;
      if (Expired(clock_, deadline)) return TimeoutUnlessFailed();
      // The device takes no more for now: wait for room, a cancel or the deadline.
      pollfd fds[2] = {{fd_.Get(), POLLOUT, 0}, {cancel.WakeFd(), POLLIN, 0}};
      if (!PollOnce(fds, TimeLeft(deadline))) return WaitResult::Error;
    }
  }

  WaitResult WaitInput(std::size_t count, Tick deadline, const CancelToken& cancel) override {
    return WaitInputWhile(count, cancel, [this, deadline] { return TimeLeft(deadline); });
  }

  WaitResult WaitInputFor(std::size_t count, std::chrono::microseconds limit,
                          const CancelToken& cancel) override {
    const auto end = std::chrono::steady_clock::now() + limit;
    return WaitInputWhile(count, cancel, [end] {
      return std::max(std::chrono::nanoseconds::zero(), end - std::chrono::steady_clock::now());
    });
  }

  WaitResult WaitOutputEmpty(Tick deadline, const CancelToken& cancel) override {
    return WaitQueueEmpty(deadline, cancel);
  }

  int LastError() const override { return last_error_; }

 private:
  // Waits until `count` bytes are in, `cancel` is set or `left`, which says
  // how long there is still to wait, finds no time left.
  template <typename Left>
  WaitResult WaitInputWhile(std::size_t count, const CancelToken& cancel, Left left) {
    for (;;) {
      if (cancel.IsSet()) return WaitResult::Cancelled;
      // The far side may have gone away; bytes it sent before still count.
      const bool device_ok = FillReadAhead();
      if (ahead_.size() >= count) return WaitResult::Ready;
      if (!device_ok) return WaitResult::Error;
      const std::chrono::nanoseconds time_left = left();
      if (time_left <= time_left.zero()) return TimeoutUnlessFailed();
      pollfd fds[2] = {{fd_.Get(), POLLIN, 0}, {cancel.WakeFd(), POLLIN, 0}};
      if (!PollOnce(fds, time_left)) {
        if (cancel.IsSet()) return WaitResult::Cancelled;
        FillReadAhead();
        return ahead_.size() >= count ? WaitResult::Ready : WaitResult::Error;
      }
    }
  }

  // Writes as much of data[written..count) as the device takes now. False on
  // a device error.
  bool WriteWhatFits(const std::uint8_t* data, std::size_t count, std::size_t& written) {
    while (written < count) {
      ssize_t n = write(fd_.Get(), data + written, count - written);
      if (n > 0) {
        written += static_cast<std::size_t>(n);
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else if (n == 0 || errno == EAGAIN || errno == EWOULDBLOCK) {
        return true;  // no room for now
      } else {
        last_error_ = errno;
        return false;
      }
    }
    return true;
  }

  // Waits for the driver's output queue to run empty.
  WaitResult WaitQueueEmpty(Tick deadline, const CancelToken& cancel) {
    for (;;) {
      if (cancel.IsSet()) return WaitResult::Cancelled;
      int pending = OutQueue();
      if (pending < 0) return WaitResult::Error;
      if (pending == 0) return WaitResult::Ready;
      if (Expired(clock_, deadline)) return TimeoutUnlessFailed();
      // The driver gives no signal when its queue runs empty: sleep about as
      // long as the queued bytes take on the line, watching for a cancel and
      // device failure (reported even with no events asked for).
      pollfd fds[2] = {{fd_.Get(), 0, 0}, {cancel.WakeFd(), POLLIN, 0}};
      const std::chrono::milliseconds drain(LineTimeMs(pending));
      if (!PollOnce(fds, std::min<std::chrono::nanoseconds>(drain, TimeLeft(deadline)))) {
        return WaitResult::Error;
      }
    }
  }

  // Lets what was written leave before the port closes. TIOCOUTQ counts only
  // the driver's queue, not the UART's FIFO or an adapter's buffer, which
  // tcdrain then waits for. tcdrain has no time-out of its own, so it is only
  // called once the queue is empty; a queue that does not empty in time is
  // thrown away instead.
  void DrainOutput() {
    const int pending = std::max(OutQueue(), 0);
    const std::int64_t bound =
        std::min<std::int64_t>(LineTimeMs(pending) + kCloseDrainSlackMs, INT32_MAX);
    const Tick deadline = Deadline(clock_, static_cast<std::uint32_t>(bound));
    // Nobody can cut closing short.
    if (WaitQueueEmpty(deadline, CancelToken::Never()) == WaitResult::Ready) {
      tcdrain(fd_.Get());
    } else {
      tcflush(fd_.Get(), TCOFLUSH);
    }
  }

  // Milliseconds that `bytes` take on the line at 10 bits each, at least one.
  std::int64_t LineTimeMs(int bytes) const {
    return std::max<std::int64_t>(1, (std::int64_t{bytes} * 10 * 1000 + baud_ - 1) / baud_);
  }

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
      } else if (n == 0 || errno == EAGAIN || errno == EWOULDBLOCK) {
        return true;
      } else {
        last_error_ = errno;
        return false;
      }
    }
  }

  // A failed device is reported as such even once the deadline has passed.
  WaitResult TimeoutUnlessFailed() {
    pollfd fds[2] = {{fd_.Get(), 0, 0}, {-1, 0, 0}};
    return PollOnce(fds, std::chrono::nanoseconds::zero()) ? WaitResult::Timeout
                                                           : WaitResult::Error;
  }

  // Time until the deadline has expired, that is until the tick after it
  // begins, to the nanosecond: a poll for whole milliseconds from some
  // moment inside the current tick would overshoot it by up to a tick.
  std::chrono::nanoseconds TimeLeft(Tick deadline) {
    if (Expired(clock_, deadline)) return std::chrono::nanoseconds::zero();
    return clock_.UntilTick(deadline + 1);
  }

  // One poll of the device and the cancel token's descriptor for at most
  // `timeout`.
  // False when the device reports a failure or the poll itself fails. A
  // device that reports a failure gave no errno: a closed descriptor counts
  // as EBADF, a hang-up or any other failure as EIO, as a write or an ioctl
  // on a hung-up line gives.
  bool PollOnce(pollfd (&fds)[2], std::chrono::nanoseconds timeout) {
    const timespec span{static_cast<time_t>(timeout.count() / 1000000000),
                        static_cast<long>(timeout.count() % 1000000000)};
    if (ppoll(fds, 2, &span, nullptr) < 0) {
      if (errno == EINTR) return true;
      last_error_ = errno;
      return false;
    }
    if ((fds[0].revents & kDeviceFailed) == 0) return true;
    last_error_ = (fds[0].revents & POLLNVAL) != 0 ? EBADF : EIO;
    return false;
  }

  UniqueFd fd_;
  termios saved_;
  Clock& clock_;
  int baud_ = 19200;
  LowLatency latency_;
  std::deque<std::uint8_t> ahead_;
  int last_error_ = 0;
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
    const int failure = errno;
    // A port held by a command that left a note (watch) is told by its
    // holder rather than as a bare "busy".
    const std::string holder =
        failure == EBUSY || failure == EWOULDBLOCK ? PortHolder(path) : std::string();
    error = holder.empty() ? SystemText(failure) : "held by " + holder;
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
