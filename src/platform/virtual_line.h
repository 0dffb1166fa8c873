// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/clock.h"
#include "platform/serial_port.h"

namespace orgalink::platform {

// An in-process serial cable with two ends, A (the PC) and B (the far side).
// Bytes written at one end arrive at the other. Its waits use the clock it
// was made with, so it runs on virtual time in tests and on system time for
// the built-in organizer and the loopback port.
class VirtualLine {
 public:
  enum class End { A, B };

  struct Options {
    bool echo_a = false;  // every byte A writes also comes back to A (a cable with echo)
    bool echo_b = false;  // the same for B
    int pacing_baud = 0;  // >0: each byte takes 10 bit times at this rate; 0: instant
    // >0: A's device hands received bytes over only every this many ms, in
    // bursts, like a USB adapter's latency timer; 0: as each byte arrives.
    int burst_ms_a = 0;
  };

  // What happens to one byte on its way (the fault hook's answer).
  struct Fault {
    enum class Kind { Pass, Drop, Replace, Delay } kind = Kind::Pass;
    std::uint8_t value = 0;      // Replace: the byte that arrives instead
    std::uint32_t delay_ms = 0;  // Delay: extra time before this byte arrives
  };

  // Called for every byte written, with the writing end and the byte's index
  // counted from the first byte that end wrote.
  using FaultHook = std::function<Fault(End from, std::uint64_t index, std::uint8_t byte)>;

  VirtualLine(Clock& clock, Options options);
  ~VirtualLine();
  VirtualLine(const VirtualLine&) = delete;
  VirtualLine& operator=(const VirtualLine&) = delete;

  // Opens one end. Each end can be open once at a time (like an exclusive
  // port); a second open returns null. The port must not outlive the line.
  std::unique_ptr<SerialPort> Open(End end);

  void SetFaultHook(FaultHook hook);

  // Cuts the cable: every later read, write and wait at either end fails with
  // Error.
  void HangUp();

  // Makes the device at `end` stop taking bytes (a stuck adapter) or take
  // them again: meanwhile its writes wait for a cancel or their deadline.
  void StallWrites(End end, bool stalled);

  // Total bytes written so far at `end` (for tests and statistics).
  std::uint64_t BytesWritten(End end) const;

  struct Impl;

 private:
  std::shared_ptr<Impl> impl_;
};

}  // namespace orgalink::platform
