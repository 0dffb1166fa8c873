// SPDX-License-Identifier: GPL-3.0-or-later
#include "watch_port.h"

#include <array>
#include <cstdio>

#include "link/command_code.h"
#include "link/frame.h"
#include "platform/posix_serial_port.h"

namespace orgalink::cli {

namespace {

constexpr std::uint32_t kRecheckMs = 1000;
// An idle wait wakes this often, only to wait again: a deadline must lie
// within half the tick counter's range.
constexpr std::uint32_t kIdleWakeMs = 3600 * 1000;

// The communication's view of the held port: every call goes through, and
// its destruction (the communication closing its port) closes nothing.
class LentPort : public platform::SerialPort {
 public:
  explicit LentPort(platform::SerialPort& port) : port_(port) {}

  bool Purge(bool input, bool output) override { return port_.Purge(input, output); }
  int InQueue() override { return port_.InQueue(); }
  int OutQueue() override { return port_.OutQueue(); }
  int Read(std::uint8_t* buffer, std::size_t max) override { return port_.Read(buffer, max); }
  platform::WaitResult Write(const std::uint8_t* data, std::size_t count, std::size_t& written,
                             platform::Tick deadline,
                             const platform::CancelToken& cancel) override {
    return port_.Write(data, count, written, deadline, cancel);
  }
  platform::WaitResult WaitInput(std::size_t count, platform::Tick deadline,
                                 const platform::CancelToken& cancel) override {
    return port_.WaitInput(count, deadline, cancel);
  }
  platform::WaitResult WaitInputFor(std::size_t count, std::chrono::microseconds limit,
                                    const platform::CancelToken& cancel) override {
    return port_.WaitInputFor(count, limit, cancel);
  }
  platform::WaitResult WaitOutputEmpty(platform::Tick deadline,
                                       const platform::CancelToken& cancel) override {
    return port_.WaitOutputEmpty(deadline, cancel);
  }
  int LastError() const override { return port_.LastError(); }

 private:
  platform::SerialPort& port_;
};

}  // namespace

WatchedPort::WatchedPort(std::string device, int baud, platform::Clock& clock,
                         const platform::CancelToken& cancel)
    : device_(std::move(device)), baud_(baud), clock_(clock), cancel_(cancel) {}

bool WatchedPort::Open(std::string& error) {
  Close();
  port_ = platform::OpenPosixSerialPort(device_, baud_, clock_, error);
  if (!port_) {
    error = device_ + ": " + error;
    return false;
  }
  std::string noteError;
  note_ = platform::PortHolderNote::Write(device_, "orgalink watch", noteError);
  if (!note_) {
    std::fprintf(stderr, "orgalink watch: other commands will not learn who holds the port: %s\n",
                 noteError.c_str());
  }
  return true;
}

void WatchedPort::Close() {
  note_.reset();
  port_.reset();
  afterStart_ = false;
}

WatchedPort::Wake WatchedPort::AwaitLinkRequest() {
  if (!port_) return Wake::Gone;
  for (;;) {
    switch (port_->WaitInput(1, platform::Deadline(clock_, kIdleWakeMs), cancel_)) {
      case platform::WaitResult::Cancelled:
        return Wake::Cancelled;
      case platform::WaitResult::Error:
        return Wake::Gone;
      case platform::WaitResult::Timeout:
        continue;
      case platform::WaitResult::Ready:
        break;
    }
    std::array<std::uint8_t, 64> bytes{};
    const int got = port_->Read(bytes.data(), bytes.size());
    if (got < 0) return Wake::Gone;
    // The communication clears the line when it starts and answers the
    // organizer's next offer, which follows within a second or two.
    for (int i = 0; i < got; ++i) {
      if (afterStart_ && bytes[i] == link::LINK_REQUEST) {
        afterStart_ = false;
        return Wake::LinkRequest;
      }
      afterStart_ = bytes[i] == link::CommandStart;
    }
  }
}

bool WatchedPort::AwaitReturn(bool afterLoss, const std::function<void(const std::string&)>& note) {
  std::string told;
  for (bool first = true;; first = false) {
    if ((afterLoss || !first) &&
        cancel_.WaitUntilSet(clock_, platform::Deadline(clock_, kRecheckMs))) {
      return false;
    }
    std::string error;
    if (Open(error)) return true;
    if (error != told && !(first && afterLoss)) note(error);
    told = error;
  }
}

platform::PortOpener WatchedPort::Lender() {
  return [this](int, int, std::string& error) -> std::unique_ptr<platform::SerialPort> {
    if (!port_) {
      error = device_ + ": the port is not open";
      return nullptr;
    }
    return std::make_unique<LentPort>(*port_);
  };
}

}  // namespace orgalink::cli
