// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>

#include "platform/serial_port.h"

namespace orgalink::bench {

using BenchClock = std::chrono::steady_clock;

// What the PC's end of the line carried during one run, and when the PC
// thread first came back from the port after an abort was requested.
struct LineCounts {
  std::atomic<std::uint64_t> bytes_written{0};
  std::atomic<std::uint64_t> bytes_read{0};
  // Writes begun: each one follows the protocol's quiet-line wait.
  std::atomic<std::uint64_t> writes{0};
  // When the first byte from the organizer was read: the end of the wait for
  // its offer of a link.
  std::atomic<BenchClock::rep> first_read{0};
  // Set by whoever posts the abort, just before posting it.
  std::atomic<BenchClock::rep> abort_posted{0};
  std::atomic<BenchClock::rep> first_return_after_abort{0};
};

// Wraps the port the engine opens and counts what passes, without changing
// anything the engine sees.
class CountingPort final : public platform::SerialPort {
 public:
  CountingPort(std::unique_ptr<platform::SerialPort> inner, LineCounts& counts)
      : inner_(std::move(inner)), counts_(counts) {}

  bool Purge(bool input, bool output) override;
  int InQueue() override;
  int OutQueue() override;
  int Read(std::uint8_t* buffer, std::size_t max) override;
  platform::WaitResult Write(const std::uint8_t* data, std::size_t count, std::size_t& written,
                             platform::Tick deadline, const platform::CancelToken& cancel) override;
  platform::WaitResult WaitInput(std::size_t count, platform::Tick deadline,
                                 const platform::CancelToken& cancel) override;
  platform::WaitResult WaitInputFor(std::size_t count, std::chrono::microseconds limit,
                                    const platform::CancelToken& cancel) override;
  platform::WaitResult WaitOutputEmpty(platform::Tick deadline,
                                       const platform::CancelToken& cancel) override;

 private:
  // Notes the first return to the engine after an abort was posted.
  void Returned();

  std::unique_ptr<platform::SerialPort> inner_;
  LineCounts& counts_;
};

// An opener whose ports count into `counts`.
platform::PortOpener CountingOpener(platform::PortOpener inner, LineCounts& counts);

}  // namespace orgalink::bench
