// The byte layer of the engine: opening the port, writing with echo check,
// reading against deadlines and waiting on the driver's queues. Every wait
// blocks in the port (or on the clock) until data, an abort request or the
// deadline, and looks at the abort token so that an abort gets through.

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>

#include "link/comm_log.h"
#include "link/frame.h"
#include "link/link_engine.h"

namespace orgalink::link {

using platform::Tick;
using platform::WaitResult;

namespace {
constexpr std::uint32_t kDrainMs = 30000;
constexpr std::uint32_t kSendQueueMs = 30000;
constexpr std::uint32_t kEchoMs = 10000;
}  // namespace

const platform::CancelToken& LinkEngine::Heeded() const {
  return shields_ > 0 ? platform::CancelToken::Never() : *abort_token_;
}

bool LinkEngine::OpenPort(int port) {
  if (port_) ClosePort();
  if (port != -1) com_port_ = port;
  open_error_.clear();
  // What went wrong before this port was opened is no cause of what follows.
  failure_notes_.clear();
  // A token that cannot wake a wait in poll() would leave the user no way to
  // stop: refuse to start rather than run unstoppable.
  if (!abort_token_->Failure().empty()) {
    open_error_ = "no descriptor for the abort request: " + abort_token_->Failure();
  } else if (opener_) {
    port_ = opener_(com_port_, baud_rate_, open_error_);
  }
  if (!port_) {
    SetStatus(LinkIoError, com_port_);
    return false;
  }
  if (!PurgePort()) {
    port_.reset();
    SetStatus(LinkIoError, com_port_);
    return false;
  }
  abort_flag_ = 0;
  SetStatus(LinkOk, -1);
  read_strategy_ = 0;
  return true;
}

int LinkEngine::ClosePort() {
  port_.reset();
  return 1;
}

int LinkEngine::PurgePort() {
  if (!port_ || !port_->Purge(true, true)) {
    SetStatus(LinkIoError, com_port_);
    return 0;
  }
  abort_flag_ = 0;
  SetStatus(LinkOk, -1);
  return 1;
}

int LinkEngine::PollAbort() {
  if (!Heeded().IsSet()) return 0;
  abort_flag_ = 1;
  SetStatus(LinkAborted, -1);
  return 1;
}

void LinkEngine::WaitForAbortOrDeadline(Tick deadline) {
  Heeded().WaitUntilSet(clock_, deadline);
}

int LinkEngine::DrainReceiveQueue(Tick deadline) {
  while (!Expired(deadline)) {
    if (PollAbort()) return 0;
    if (!port_ || !port_->Purge(true, false)) {
      SetStatus(LinkIoError, com_port_);
      return 0;
    }
    const WaitResult result =
        port_->WaitInputFor(1, std::chrono::milliseconds(quiet_window_), Heeded());
    if (result == WaitResult::Timeout) return 1;
    if (result == WaitResult::Error) {
      SetStatus(LinkIoError, com_port_);
      return 0;
    }
  }
  SetStatus(LinkIoError, -1);
  return 0;
}

int LinkEngine::WaitSendQueue(Tick deadline) {
  while (!Expired(deadline)) {
    if (PollAbort()) return 0;
    if (!port_) break;
    const WaitResult result = port_->WaitOutputEmpty(deadline, Heeded());
    if (result == WaitResult::Ready) return 1;
    if (result == WaitResult::Error) break;
  }
  SetStatus(LinkIoError, -1);
  return 0;
}

int LinkEngine::WaitReceiveQueue(int count, Tick deadline) {
  const Tick start = clock_.Now();
  int seen = 0;
  while (!Expired(deadline)) {
    if (PollAbort()) {
      Log("<<<<<<!!!NO Receive(Wait Receive Queue Abort)\n\n");
      return 0;
    }
    const int queued = port_ ? port_->InQueue() : -1;
    if (queued >= 0) seen = queued;
    if (queued >= count) return 1;
    const WaitResult result =
        port_ ? port_->WaitInput(static_cast<std::size_t>(count), deadline, Heeded())
              : WaitResult::Error;
    if (result == WaitResult::Error) {
      Log("<<<<<<!!!NO Receive(ReadCommNT Err)\n");
      SetStatus(LinkIoError, -1);
      return 0;
    }
    if (result == WaitResult::Timeout) seen = std::max(port_->InQueue(), 0);
  }
  LogFormat("---Time Out WaitTime=%05d, InQue=%4d/%4d\n", static_cast<int>(clock_.Now() - start),
            seen, count);
  SetStatus(LinkTimeout, -1);
  return 0;
}

int LinkEngine::ReadPort(std::uint8_t* buffer, int count, Tick deadline) {
  if (!WaitReceiveQueue(count, deadline)) return 0;
  if (count <= 0) return 0;
  return ReadAvailable(buffer, count, deadline);
}

// The bytes are already queued, so the read completes at once.
int LinkEngine::ReadAvailable(std::uint8_t* buffer, int count, Tick /*deadline*/) {
  const int got = port_->Read(buffer, static_cast<std::size_t>(count));
  if (got < count) {
    Log("<<<<<<!!!NO Receive(ReadCommNT Err)\n");
    SetStatus(LinkIoError, -1);
    return 0;
  }
  log_.Line("<<<<<<Receive1 ", false);
  log_.HexDump(buffer, got);
  return 1;
}

int LinkEngine::WritePort(std::string_view text) {
  return WritePort(reinterpret_cast<const std::uint8_t*>(text.data()),
                   static_cast<int>(text.size()));
}

int LinkEngine::WritePort(const std::uint8_t* bytes, int count) {
  if (!DrainReceiveQueue(Deadline(kDrainMs))) {
    Log(">>>>>>!!!Send FAILED(Receive Incomplete)\n\n");
    return 0;
  }
  PurgePort();
  const Tick send_deadline = Deadline(kSendQueueMs);
  if (!TransmitBytes(bytes, count, send_deadline)) {
    Log(">>>>>>!!!Send FAILED\n\n");
    SetStatus(LinkIoError, -1);
    return 0;
  }
  if (!WaitSendQueue(send_deadline)) {
    Log(">>>>>>!!!Send FAILED(Send Incomplete)\n\n");
    return 0;
  }
  log_.Line(">>>>>>Send    ", false);
  log_.HexDump(bytes, count);
  if (echo_back_ && !CheckEcho(bytes, count)) return 0;
  SetStatus(LinkOk, -1);
  return 1;
}

// A serial write is in progress until its bytes have left the port, not
// merely until the driver has taken them: an abort while they are still
// going out fails the write (status 11) rather than the wait for the output
// queue (status 0). A device that has not taken or sent every byte by
// `deadline` is left to WaitSendQueue, which reports it.
bool LinkEngine::TransmitBytes(const std::uint8_t* bytes, int count, Tick deadline) {
  std::size_t written = 0;
  for (;;) {
    WaitResult result =
        port_->Write(bytes, static_cast<std::size_t>(count), written, deadline, Heeded());
    if (result == WaitResult::Ready) result = port_->WaitOutputEmpty(deadline, Heeded());
    if (result == WaitResult::Ready || result == WaitResult::Timeout) return true;
    if (result == WaitResult::Cancelled) PollAbort();
    return false;
  }
}

// With echo on, the cable returns every byte written; anything else means the
// line is not what we think it is. A frame fits the buffer and is read back
// in one piece; a longer block is compared a frame's length at a time.
int LinkEngine::CheckEcho(const std::uint8_t* bytes, int count) {
  std::array<std::uint8_t, MaxFrameSize> echo;
  const Tick deadline = Deadline(kEchoMs);
  for (int offset = 0; offset < count; offset += MaxFrameSize) {
    const int piece = std::min(count - offset, MaxFrameSize);
    echo.fill(0);
    if (!ReadPort(echo.data(), piece, deadline)) {
      Log("!!!NOT Receive EchoBack\n\n");
      SetStatus(LinkIoError, -1);
      return 0;
    }
    if (std::memcmp(echo.data(), bytes + offset, static_cast<std::size_t>(piece)) != 0) {
      Log("!!!NOT EchoBack\n\n");
      SetStatus(LinkIoError, -1);
      return 0;
    }
  }
  return 1;
}

}  // namespace orgalink::link
