// SPDX-License-Identifier: GPL-3.0-or-later
#include "counting_port.h"

namespace orgalink::bench {

using platform::WaitResult;

void CountingPort::Returned() {
  const BenchClock::rep posted = counts_.abort_posted.load();
  if (posted == 0 || counts_.first_return_after_abort.load() != 0) return;
  const BenchClock::rep now = BenchClock::now().time_since_epoch().count();
  if (now >= posted) {
    BenchClock::rep none = 0;
    counts_.first_return_after_abort.compare_exchange_strong(none, now);
  }
}

bool CountingPort::Purge(bool input, bool output) {
  const bool done = inner_->Purge(input, output);
  Returned();
  return done;
}

int CountingPort::InQueue() {
  const int queued = inner_->InQueue();
  Returned();
  return queued;
}

int CountingPort::OutQueue() {
  const int queued = inner_->OutQueue();
  Returned();
  return queued;
}

int CountingPort::Read(std::uint8_t* buffer, std::size_t max) {
  const int got = inner_->Read(buffer, max);
  if (got > 0) {
    if (counts_.bytes_read == 0) counts_.first_read = BenchClock::now().time_since_epoch().count();
    counts_.bytes_read += static_cast<std::uint64_t>(got);
  }
  Returned();
  return got;
}

WaitResult CountingPort::Write(const std::uint8_t* data, std::size_t count, std::size_t& written,
                               platform::Tick deadline, const platform::CancelToken& cancel) {
  const std::size_t before = written;
  if (before == 0) ++counts_.writes;
  const WaitResult result = inner_->Write(data, count, written, deadline, cancel);
  counts_.bytes_written += written - before;
  Returned();
  return result;
}

WaitResult CountingPort::WaitInput(std::size_t count, platform::Tick deadline,
                                   const platform::CancelToken& cancel) {
  const WaitResult result = inner_->WaitInput(count, deadline, cancel);
  Returned();
  return result;
}

WaitResult CountingPort::WaitInputFor(std::size_t count, std::chrono::microseconds limit,
                                      const platform::CancelToken& cancel) {
  const WaitResult result = inner_->WaitInputFor(count, limit, cancel);
  Returned();
  return result;
}

WaitResult CountingPort::WaitOutputEmpty(platform::Tick deadline,
                                         const platform::CancelToken& cancel) {
  const WaitResult result = inner_->WaitOutputEmpty(deadline, cancel);
  Returned();
  return result;
}

platform::PortOpener CountingOpener(platform::PortOpener inner, LineCounts& counts) {
  return [inner = std::move(inner), &counts](int port, int baud, std::string& error) {
    std::unique_ptr<platform::SerialPort> opened = inner(port, baud, error);
    if (!opened) return opened;
    return std::unique_ptr<platform::SerialPort>(
        std::make_unique<CountingPort>(std::move(opened), counts));
  };
}

}  // namespace orgalink::bench
