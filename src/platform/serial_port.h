// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/cancel_token.h"
#include "platform/clock.h"

namespace orgalink::platform {

enum class WaitResult {
  Ready,      // the condition waited for holds
  Cancelled,  // the cancel token is set
  Timeout,    // the deadline expired first
  Error,      // the device failed (hang-up, I/O error)
};

// An open serial line, 8N1 without flow control, DTR and RTS raised while
// open. Destruction lets the bytes already written leave (for a bounded time,
// then throws the rest away), closes the line and puts back the state found
// at open. Deadlines are ticks of the clock the port was opened with.
//
// Each blocking call below ends with one result. When several hold at the
// moment the call looks, the first of these wins:
//   Cancelled  `cancel` is set, so that an abort request is seen at once
//              even on a line that keeps delivering;
//   Error      the device failed and cannot give what is waited for (bytes
//              received before the failure and still readable do count);
//   Ready      what is waited for holds, even when the deadline has already
//              expired: a deadline only ends waiting, never a finished job;
//   Timeout    the deadline has expired.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Throws away unread input and/or unsent output.
  virtual bool Purge(bool input, bool output) = 0;

  // Bytes received and not yet read; -1 on error.
  virtual int InQueue() = 0;

  // Bytes written and not yet sent; -1 on error.
  virtual int OutQueue() = 0;

  // Copies at most `max` received bytes without waiting; returns the count,
  // or -1 on error.
  virtual int Read(std::uint8_t* buffer, std::size_t max) = 0;

  // Hands data[written..count) to the device, advancing `written` by what it
  // took. Blocks while the device takes no more, until `cancel` is set or
  // the deadline expires. Ready once every byte is taken.
  virtual WaitResult Write(const std::uint8_t* data, std::size_t count, std::size_t& written,
                           Tick deadline, const CancelToken& cancel) = 0;

  // Blocks until at least `count` bytes are received, `cancel` is set or the
  // deadline has expired.
  virtual WaitResult WaitInput(std::size_t count, Tick deadline, const CancelToken& cancel) = 0;

  // The same with a time limit from now instead of a deadline tick, kept to
  // the microsecond where the clock can tell: a wait for a quiet line must
  // last its full length, and no tick longer.
  virtual WaitResult WaitInputFor(std::size_t count, std::chrono::microseconds limit,
                                  const CancelToken& cancel) = 0;

  // Blocks until every written byte has left, `cancel` is set or the deadline
  // has expired.
  virtual WaitResult WaitOutputEmpty(Tick deadline, const CancelToken& cancel) = 0;

  // The errno of the last call that failed for the device's sake (a system
  // call the device refused, or a hang-up: EIO), so that a failure can be
  // told with the system's reason; 0 while none has failed. A call that
  // succeeds leaves it as it is. A port that cannot tell keeps 0.
  virtual int LastError() const { return 0; }
};

// Opens the port with the given number (the "COM%d" number; 0 when the
// caller named a device directly) at `baud` bit/s. Returns null on failure
// and leaves the system's reason in `error`.
using PortOpener =
    std::function<std::unique_ptr<SerialPort>(int port, int baud, std::string& error)>;

}  // namespace orgalink::platform
