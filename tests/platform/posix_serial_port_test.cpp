// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix_serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include "support/result_order.h"

namespace orgalink::platform {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// The master side of a pseudo-terminal; the port under test opens the slave.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
      slave_path_ = ptsname(master_);
    }
  }
  ~PseudoTerminal() { Close(); }

  bool Valid() const { return !slave_path_.empty(); }
  const std::string& SlavePath() const { return slave_path_; }

  void Write(const std::string& text) {
    ASSERT_EQ(write(master_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }

  // Whatever the slave sent, gathered until `count` bytes came or a second passed.
  std::string Read(std::size_t count) {
    std::string text;
    while (text.size() < count) {
      pollfd entry{master_, POLLIN, 0};
      if (poll(&entry, 1, 1000) != 1) break;
      char buffer[4096];
      ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
  }

  void Close() {
    if (master_ >= 0) close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string slave_path_;
};

class PosixSerialPortTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.Valid());
    port = OpenPosixSerialPort(pty.SlavePath(), 19200, clock, error);
    ASSERT_TRUE(port) << error;
  }

  std::string Take() {
    std::uint8_t buffer[4096];
    int got = port->Read(buffer, sizeof buffer);
    return got < 0 ? "<error>" : std::string(buffer, buffer + got);
  }

  SystemClock& clock = SystemClock::Instance();
  PseudoTerminal pty;
  std::string error;
  std::unique_ptr<SerialPort> port;
  CancelToken cancel;
};

TEST_F(PosixSerialPortTest, CarriesBytesBothWays) {
  pty.Write("hello");
  ASSERT_EQ(port->WaitInput(5, Deadline(clock, 5000), cancel), WaitResult::Ready);
  EXPECT_EQ(port->InQueue(), 5);
  EXPECT_EQ(Take(), "hello");
  EXPECT_EQ(port->InQueue(), 0);

  // Every byte value passes untouched: no echo, no CR/LF or flow-control handling.
  std::string all;
  for (int value = 0; value < 256; ++value) all.push_back(static_cast<char>(value));
  std::size_t written = 0;
  ASSERT_EQ(port->Write(reinterpret_cast<const std::uint8_t*>(all.data()), all.size(), written,
                        Deadline(clock, 5000), cancel),
            WaitResult::Ready);
  EXPECT_EQ(written, all.size());
  EXPECT_EQ(port->WaitOutputEmpty(Deadline(clock, 5000), cancel), WaitResult::Ready);
  EXPECT_EQ(pty.Read(all.size()), all);
  pty.Write(all);
  ASSERT_EQ(port->WaitInput(all.size(), Deadline(clock, 5000), cancel), WaitResult::Ready);
  EXPECT_EQ(Take(), all);
}

TEST_F(PosixSerialPortTest, WaitInputWakesOnLateBytes) {
  pty.Write("ab");
  auto start = steady_clock::now();
  std::thread late([&] {
    std::this_thread::sleep_for(milliseconds(20));
    pty.Write("cde");
  });
  EXPECT_EQ(port->WaitInput(5, Deadline(clock, 10000), cancel), WaitResult::Ready);
  late.join();
  EXPECT_LT(steady_clock::now() - start, milliseconds(5000));
  EXPECT_EQ(Take(), "abcde");
}

TEST_F(PosixSerialPortTest, WaitInputWakesOnACancel) {
  pty.Write("ab");  // fewer bytes than asked keep the device readable
  std::thread canceller([&] {
    std::this_thread::sleep_for(milliseconds(20));
    cancel.Set();
  });
  EXPECT_EQ(port->WaitInput(5, Deadline(clock, 10000), cancel), WaitResult::Cancelled);
  canceller.join();
  EXPECT_EQ(port->InQueue(), 2);
}

TEST_F(PosixSerialPortTest, WaitInputTimesOutAtTheDeadlineOrTheTimeLimit) {
  pty.Write("ab");
  struct Case {
    bool deadline;  // a deadline tick, else a time limit from now
    milliseconds at_least;
  } cases[] = {{true, milliseconds(49)}, {false, milliseconds(50)}};
  for (const Case& c : cases) {
    auto start = steady_clock::now();
    Tick deadline = Deadline(clock, 50);
    EXPECT_EQ(c.deadline ? port->WaitInput(5, deadline, cancel)
                         : port->WaitInputFor(5, milliseconds(50), cancel),
              WaitResult::Timeout);
    if (c.deadline) {
      EXPECT_TRUE(Expired(clock, deadline));
    }
    EXPECT_GE(steady_clock::now() - start, c.at_least);
    EXPECT_LT(steady_clock::now() - start, milliseconds(2000));
  }
  EXPECT_EQ(port->InQueue(), 2);
}

// Far more than the terminal buffers while nobody reads the other side.
const std::string kHugeBlock(1 << 20, 'x');

const std::uint8_t* BytesOf(const std::string& text) {
  return reinterpret_cast<const std::uint8_t*>(text.data());
}

TEST_F(PosixSerialPortTest, WriteThatBlocksReturnsForACancel) {
  std::thread canceller([&] {
    std::this_thread::sleep_for(milliseconds(20));
    cancel.Set();
  });
  std::size_t written = 0;
  EXPECT_EQ(
      port->Write(BytesOf(kHugeBlock), kHugeBlock.size(), written, Deadline(clock, 60000), cancel),
      WaitResult::Cancelled);
  canceller.join();
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, kHugeBlock.size());
  // A token still set wins before anything is written.
  const std::size_t before = written;
  EXPECT_EQ(
      port->Write(BytesOf(kHugeBlock), kHugeBlock.size(), written, Deadline(clock, 60000), cancel),
      WaitResult::Cancelled);
  EXPECT_EQ(written, before);
  EXPECT_GT(port->OutQueue(), -1);
  EXPECT_TRUE(port->Purge(true, true));
}

// A far side that stops taking bytes must not hold the writer forever.
TEST_F(PosixSerialPortTest, WriteStopsAtItsDeadline) {
  auto start = steady_clock::now();
  std::size_t written = 0;
  const Tick deadline = Deadline(clock, 50);
  EXPECT_EQ(port->Write(BytesOf(kHugeBlock), kHugeBlock.size(), written, deadline, cancel),
            WaitResult::Timeout);
  EXPECT_TRUE(Expired(clock, deadline));
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, kHugeBlock.size());
  EXPECT_LT(steady_clock::now() - start, milliseconds(2000));
}

TEST_F(PosixSerialPortTest, SeveralResultsAtOnceFollowTheOrder) {
  pty.Write("abc");
  ASSERT_EQ(port->WaitInput(3, Deadline(clock, 5000), cancel), WaitResult::Ready);
  testsupport::ExpectResultOrder(
      *port, clock.Now() - 1, [&] { pty.Close(); }, true);
}

TEST_F(PosixSerialPortTest, FarSideGoneIsAnError) {
  pty.Close();
  EXPECT_EQ(port->WaitInput(1, Deadline(clock, 10000), cancel), WaitResult::Error);
}

// A call that fails on a line whose far side has hung up keeps the reason,
// EIO, for the failure to be told with. Each call runs on a port of its
// own, since the reason stays until the next failure.
TEST(PosixSerialPortHangUpTest, ACallThatFailsKeepsTheSystemsReason) {
  SystemClock& clock = SystemClock::Instance();
  const CancelToken cancel;
  const std::uint8_t byte = 0x55;
  const struct {
    const char* call;
    std::function<bool(SerialPort&)> fails;
  } cases[] = {
      {"WaitInput",
       [&](SerialPort& port) {
         return port.WaitInput(1, Deadline(clock, 10000), cancel) == WaitResult::Error;
       }},
      {"Write",
       [&](SerialPort& port) {
         std::size_t written = 0;
         return port.Write(&byte, 1, written, Deadline(clock, 10000), cancel) == WaitResult::Error;
       }},
      {"WaitOutputEmpty",
       [&](SerialPort& port) {
         return port.WaitOutputEmpty(Deadline(clock, 10000), cancel) == WaitResult::Error;
       }},
      {"InQueue", [](SerialPort& port) { return port.InQueue() < 0; }},
      {"Purge", [](SerialPort& port) { return !port.Purge(true, true); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.call);
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Valid());
    std::string error;
    const auto port = OpenPosixSerialPort(pty.SlavePath(), 19200, clock, error);
    ASSERT_TRUE(port) << error;
    EXPECT_EQ(port->LastError(), 0);
    pty.Close();
    EXPECT_TRUE(c.fails(*port));
    EXPECT_EQ(port->LastError(), EIO);
  }
}

TEST_F(PosixSerialPortTest, PortIsNotShared) {
  std::string second_error;
  EXPECT_FALSE(OpenPosixSerialPort(pty.SlavePath(), 19200, clock, second_error));
  EXPECT_FALSE(second_error.empty());
  port.reset();
  EXPECT_TRUE(OpenPosixSerialPort(pty.SlavePath(), 19200, clock, second_error));
}

TEST(PosixSerialPortOpenTest, MissingDeviceGivesTheSystemText) {
  std::string error;
  EXPECT_FALSE(OpenPosixSerialPort("/dev/no-such-port", 19200, SystemClock::Instance(), error));
  EXPECT_EQ(error, std::strerror(ENOENT));
}

// Closing waits for what was written, but a far side that takes nothing
// more cannot hold it up.
TEST(PosixSerialPortOpenTest, CloseLetsTheLastBytesOutAndNeverHangs) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Valid());
  SystemClock& clock = SystemClock::Instance();
  const CancelToken& cancel = CancelToken::Never();
  std::string error;
  auto port = OpenPosixSerialPort(pty.SlavePath(), 19200, clock, error);
  ASSERT_TRUE(port) << error;
  const std::string frame = "\x7f\x09\x00\x00\x88";
  std::size_t written = 0;
  ASSERT_EQ(port->Write(BytesOf(frame), frame.size(), written, Deadline(clock, 5000), cancel),
            WaitResult::Ready);
  port.reset();
  EXPECT_EQ(pty.Read(frame.size()), frame);

  port = OpenPosixSerialPort(pty.SlavePath(), 19200, clock, error);
  ASSERT_TRUE(port) << error;
  written = 0;
  ASSERT_EQ(
      port->Write(BytesOf(kHugeBlock), kHugeBlock.size(), written, Deadline(clock, 50), cancel),
      WaitResult::Timeout);
  const auto start = steady_clock::now();
  port.reset();
  EXPECT_LT(steady_clock::now() - start, milliseconds(3000));
}

TEST(PosixSerialPortOpenTest, CloseRestoresTheTerminalSettings) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Valid());
  int observer = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(observer, 0);
  termios before{};
  ASSERT_EQ(tcgetattr(observer, &before), 0);
  before.c_lflag |= ICANON | ECHO;
  cfsetispeed(&before, B9600);
  cfsetospeed(&before, B9600);
  ASSERT_EQ(tcsetattr(observer, TCSANOW, &before), 0);
  ASSERT_EQ(tcgetattr(observer, &before), 0);

  struct Case {
    int baud;
    speed_t speed;
  };
  for (Case c : {Case{57600, B57600}, Case{12345, B19200}}) {  // unknown rates run at 19200
    std::string error;
    auto port = OpenPosixSerialPort(pty.SlavePath(), c.baud, SystemClock::Instance(), error);
    ASSERT_TRUE(port) << error;
    termios during{};
    ASSERT_EQ(tcgetattr(observer, &during), 0);
    EXPECT_EQ(during.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_EQ(during.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(during.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(cfgetospeed(&during), c.speed);
    port.reset();

    termios after{};
    ASSERT_EQ(tcgetattr(observer, &after), 0);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
  }
  close(observer);
}

}  // namespace
}  // namespace orgalink::platform
