// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/byte_link.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "link/frame.h"
#include "link/text_format.h"
#include "platform/baud_rate.h"

namespace orgalink::link {

using platform::Tick;
using platform::WaitResult;

namespace {
constexpr std::uint32_t kDrainMs = 30000;
constexpr std::uint32_t kSendQueueMs = 30000;
constexpr std::uint32_t kEchoMs = 10000;

// The length of a wait from `start` to `deadline`, in ms; 0 for a deadline
// that had passed already.
long WaitLength(Tick start, Tick deadline) {
  return std::max<long>(static_cast<std::int32_t>(deadline - start), 0);
}

}  // namespace

ByteLink::ByteLink(platform::Clock& clock, CommLog& log, StatusRegister& status)
    : clock_(clock), log_(log), status_(status) {}

ByteLink::~ByteLink() {
  ClosePort();
}

void ByteLink::SetBaudRate(std::string_view text) {
  baud_rate_ = platform::BaudFromText(text);
}

void ByteLink::SetQuietWindow(long ms) {
  quiet_window_ = static_cast<std::uint32_t>(std::clamp<long>(ms, 1, 1000));
}

Cause ByteLink::PortFailed(const char* call) const {
  return Cause::System(call, port_ ? port_->LastError() : 0);
}

StepResult ByteLink::PortFail(Cause cause) {
  return {status_.Set(LinkIoError, com_port_), std::move(cause)};
}

StepResult ByteLink::Aborted() const {
  return {LinkAborted, Cause::Aborted()};
}

const platform::CancelToken& ByteLink::Heeded() const {
  return shields_ > 0 ? platform::CancelToken::Never() : *abort_token_;
}

StepResult ByteLink::OpenPort(int port) {
  if (port_) ClosePort();
  if (port != -1) com_port_ = port;
  open_error_.clear();
  // A token that cannot wake a wait in poll() would leave the user no way to
  // stop: refuse to start rather than run unstoppable.
  Cause cause;
  if (!abort_token_->Failure().empty()) {
    open_error_ = "no descriptor for the abort request: " + abort_token_->Failure();
    cause = Cause::System("preparing the abort request", 0, abort_token_->Failure());
  } else if (opener_) {
    port_ = opener_(com_port_, baud_rate_, open_error_);
    cause = Cause::System("opening the port", 0, open_error_);
  } else {
    cause = Cause::System("opening the port", 0, "no such port");
  }
  if (!port_) return PortFail(cause);
  if (!PurgePort()) {
    Cause failed = PortFailed("clearing the port");
    port_.reset();
    return PortFail(std::move(failed));
  }
  abort_flag_ = false;
  status_.Set(LinkOk, -1);
  return LinkOk;
}

void ByteLink::ClosePort() {
  port_.reset();
}

bool ByteLink::PurgePort() {
  if (!port_ || !port_->Purge(true, true)) {
    status_.Set(LinkIoError, com_port_);
    return false;
  }
  abort_flag_ = false;
  status_.Set(LinkOk, -1);
  return true;
}

bool ByteLink::PollAbort() {
  if (!Heeded().IsSet()) return false;
  abort_flag_ = true;
  status_.Set(LinkAborted, -1);
  return true;
}

void ByteLink::WaitForAbortOrDeadline(Tick deadline) {
  Heeded().WaitUntilSet(clock_, deadline);
}

StepResult ByteLink::DrainReceiveQueue(Tick deadline) {
  const Tick start = clock_.Now();
  while (!Expired(deadline)) {
    if (PollAbort()) return Aborted();
    if (!port_ || !port_->Purge(true, false)) {
      return PortFail(PortFailed("clearing the port's input"));
    }
    const WaitResult result =
        port_->WaitInputFor(1, std::chrono::milliseconds(quiet_window_), Heeded());
    if (result == WaitResult::Timeout) return LinkOk;
    if (result == WaitResult::Error) {
      return PortFail(PortFailed("waiting for the port's input"));
    }
  }
  return status_.Fail(LinkIoError,
                      Cause::TimedOut(Format("a quiet line before sending (%u ms without input)",
                                             static_cast<unsigned>(quiet_window_)),
                                      WaitLength(start, deadline)));
}

StepResult ByteLink::WaitSendQueue(Tick deadline) {
  const Tick start = clock_.Now();
  Cause cause;
  while (!Expired(deadline)) {
    if (PollAbort()) return Aborted();
    if (!port_) break;
    const WaitResult result = port_->WaitOutputEmpty(deadline, Heeded());
    if (result == WaitResult::Ready) return LinkOk;
    if (result == WaitResult::Error) {
      cause = PortFailed("sending through the port");
      break;
    }
  }
  if (cause.Empty()) {
    cause = Cause::TimedOut("the end of sending through the port", WaitLength(start, deadline));
  }
  return status_.Fail(LinkIoError, std::move(cause));
}

StepResult ByteLink::WaitReceiveQueue(int count, Tick deadline) {
  const Tick start = clock_.Now();
  int seen = 0;
  while (!Expired(deadline)) {
    if (PollAbort()) {
      log_.Line("<<<<<<!!!NO Receive(Wait Receive Queue Abort)\n\n");
      return Aborted();
    }
    const int queued = port_ ? port_->InQueue() : -1;
    if (queued >= 0) seen = queued;
    if (queued >= count) return LinkOk;
    const WaitResult result =
        port_ ? port_->WaitInput(static_cast<std::size_t>(count), deadline, Heeded())
              : WaitResult::Error;
    if (result == WaitResult::Error) {
      log_.Line("<<<<<<!!!NO Receive(ReadCommNT Err)\n");
      return status_.Fail(LinkIoError, PortFailed("receiving from the port"));
    }
    if (result == WaitResult::Timeout) seen = std::max(port_->InQueue(), 0);
  }
  log_.Format("---Time Out WaitTime=%05d, InQue=%4d/%4d\n", static_cast<int>(clock_.Now() - start),
              seen, count);
  return status_.Fail(LinkTimeout,
                      Cause::TimedOut(Format("%d bytes from the organizer (%d came)", count, seen),
                                      WaitLength(start, deadline)));
}

StepResult ByteLink::ReadPort(std::span<std::uint8_t> buffer, Tick deadline) {
  const int count = static_cast<int>(buffer.size());
  if (StepResult waited = WaitReceiveQueue(count, deadline); !waited) return waited;
  if (count <= 0) return status_.Fail(LinkIoError, Cause::WrongData("read length", -1, count));
  return ReadAvailable(buffer);
}

// The bytes are already queued, so the read completes at once.
StepResult ByteLink::ReadAvailable(std::span<std::uint8_t> buffer) {
  const int count = static_cast<int>(buffer.size());
  const int got = port_->Read(buffer.data(), buffer.size());
  if (got < count) {
    log_.Line("<<<<<<!!!NO Receive(ReadCommNT Err)\n");
    return status_.Fail(LinkIoError, PortFailed("reading from the port"));
  }
  log_.Line("<<<<<<Receive1 ");
  log_.HexDump(buffer.first(static_cast<std::size_t>(got)));
  return LinkOk;
}

StepResult ByteLink::WritePort(std::string_view text) {
  return WritePort(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

StepResult ByteLink::WritePort(std::span<const std::uint8_t> bytes) {
  if (StepResult drained = DrainReceiveQueue(Deadline(kDrainMs)); !drained) {
    log_.Line(">>>>>>!!!Send FAILED(Receive Incomplete)\n\n");
    return drained;
  }
  PurgePort();
  const Tick send_deadline = Deadline(kSendQueueMs);
  if (Cause failed = TransmitBytes(bytes, send_deadline); !failed.Empty()) {
    log_.Line(">>>>>>!!!Send FAILED\n\n");
    return status_.Fail(LinkIoError, std::move(failed));
  }
  if (StepResult sent = WaitSendQueue(send_deadline); !sent) {
    log_.Line(">>>>>>!!!Send FAILED(Send Incomplete)\n\n");
    return sent;
  }
  log_.Line(">>>>>>Send    ");
  log_.HexDump(bytes);
  if (echo_back_) {
    if (StepResult echoed = CheckEcho(bytes); !echoed) return echoed;
  }
  status_.Set(LinkOk, -1);
  return LinkOk;
}

// A serial write is in progress until its bytes have left the port, not
// merely until the driver has taken them: an abort while they are still
// going out fails the write (status 11) rather than the wait for the output
// queue (status 0). A device that has not taken or sent every byte by
// `deadline` is left to WaitSendQueue, which reports it.
Cause ByteLink::TransmitBytes(std::span<const std::uint8_t> bytes, Tick deadline) {
  std::size_t written = 0;
  WaitResult result = port_->Write(bytes.data(), bytes.size(), written, deadline, Heeded());
  if (result == WaitResult::Ready) result = port_->WaitOutputEmpty(deadline, Heeded());
  if (result == WaitResult::Ready || result == WaitResult::Timeout) return {};
  if (result == WaitResult::Cancelled) {
    PollAbort();
    return Cause::Aborted();
  }
  return PortFailed("writing to the port");
}

// With echo on, the cable returns every byte written; anything else means the
// line is not what we think it is. A frame fits the buffer and is read back
// in one piece; a longer block is compared a frame's length at a time.
StepResult ByteLink::CheckEcho(std::span<const std::uint8_t> bytes) {
  std::array<std::uint8_t, MaxFrameSize> echo;
  const Tick deadline = Deadline(kEchoMs);
  for (std::size_t offset = 0; offset < bytes.size(); offset += MaxFrameSize) {
    const auto sent =
        bytes.subspan(offset, std::min<std::size_t>(bytes.size() - offset, MaxFrameSize));
    const auto got = std::span(echo).first(sent.size());
    echo.fill(0);
    if (StepResult read = ReadPort(got, deadline); !read) {
      log_.Line("!!!NOT Receive EchoBack\n\n");
      // Without an echo, what the user needs to know is that the cable
      // gave none; an abort or a failing port is told as such.
      Cause cause =
          read.cause.Type() == Cause::Kind::TimedOut
              ? Cause::TimedOut(Format("the echo of the %zu bytes sent", bytes.size()), kEchoMs)
              : std::move(read.cause);
      return status_.Fail(LinkIoError, std::move(cause));
    }
    const auto differs = std::mismatch(sent.begin(), sent.end(), got.begin());
    if (differs.first != sent.end()) {
      log_.Line("!!!NOT EchoBack\n\n");
      return status_.Fail(
          LinkIoError, Cause::WrongData("echo of the bytes sent", *differs.first, *differs.second));
    }
  }
  return LinkOk;
}

}  // namespace orgalink::link
