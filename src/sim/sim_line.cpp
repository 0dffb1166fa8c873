// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sim_line.h"

namespace orgalink::sim {

using platform::WaitResult;

namespace {

constexpr std::size_t kReadChunk = 512;
// As long as the PC gives its own writes: a port that takes nothing for that
// long is stuck.
constexpr std::uint32_t kWriteMs = 30000;

// Noise must open no frame: any byte but 0..6 and 7F. There are 248 such
// values; `r` picks one.
std::uint8_t NoiseByte(std::uint32_t r) {
  const unsigned value = kHighestAppliCode + 1 + r % 248;
  return static_cast<std::uint8_t>(value >= kCommandStart ? value + 1 : value);
}

}  // namespace

SimLine::SimLine(platform::SerialPort& port, platform::Clock& clock,
                 const platform::CancelToken& stop, const SimOptions& options,
                 CommandObserver observer)
    : port_(port),
      clock_(clock),
      stop_(stop),
      echo_(options.echo),
      noise_bytes_(options.faults.noise_bytes),
      frame_delay_ms_(options.faults.frame_delay_ms),
      observer_(std::move(observer)) {}

SimLine::Outcome SimLine::NextFrame(platform::Tick deadline, Frame& frame) {
  for (;;) {
    if (std::optional<Frame> taken = TakeFrame(input_)) {
      frame = std::move(*taken);
      if (frame.command && frame.intact && observer_) observer_(frame.Code());
      return Outcome::Ok;
    }
    const Outcome received = Receive(deadline);
    if (received != Outcome::Ok) return received;
  }
}

SimLine::Outcome SimLine::Pause(platform::Tick until) {
  for (;;) {
    const Outcome received = Receive(until);
    if (received == Outcome::Timeout) return Outcome::Ok;
    if (received != Outcome::Ok) return received;
  }
}

SimLine::Outcome SimLine::SendFrame(const std::uint8_t* bytes, std::size_t count) {
  if (frame_delay_ms_ > 0) {
    const Outcome paused = Pause(Deadline(frame_delay_ms_));
    if (paused != Outcome::Ok) return paused;
  }
  if (noise_bytes_ > 0) {
    const Outcome noise = WriteNoise();
    if (noise != Outcome::Ok) return noise;
  }
  return Write(bytes, count);
}

SimLine::Outcome SimLine::SendCommand(std::uint8_t code, std::uint8_t p1, std::uint8_t p2) {
  const auto frame = CommandFrame(code, p1, p2);
  return SendFrame(frame.data(), frame.size());
}

// The cable returns each byte as it passes, before the organizer has made
// anything of it, so the echo goes out ahead of any answer. Without the echo
// no byte is wanted before its frame is whole: waiting for the rest of the
// frame wakes the organizer once a frame, not once for every byte that
// comes in on a paced line.
SimLine::Outcome SimLine::Receive(platform::Tick deadline) {
  const std::size_t wanted = echo_ ? 1 : BytesToCompleteFrame(input_);
  switch (port_.WaitInput(wanted, deadline, stop_)) {
    case WaitResult::Ready:
      break;
    case WaitResult::Timeout:
      return Outcome::Timeout;
    case WaitResult::Cancelled:
      return Outcome::Stopped;
    case WaitResult::Error:
      return Outcome::Failed;
  }
  std::uint8_t chunk[kReadChunk];
  for (;;) {
    const int got = port_.Read(chunk, sizeof chunk);
    if (got < 0) return Outcome::Failed;
    if (got == 0) return Outcome::Ok;
    const auto count = static_cast<std::size_t>(got);
    if (echo_) {
      const Outcome echoed = Write(chunk, count);
      if (echoed != Outcome::Ok) return echoed;
    }
    input_.insert(input_.end(), chunk, chunk + count);
  }
}

SimLine::Outcome SimLine::Write(const std::uint8_t* bytes, std::size_t count) {
  std::size_t written = 0;
  switch (port_.Write(bytes, count, written, Deadline(kWriteMs), stop_)) {
    case WaitResult::Ready:
      return Outcome::Ok;
    case WaitResult::Cancelled:
      return Outcome::Stopped;
    case WaitResult::Timeout:
    case WaitResult::Error:
      break;
  }
  return Outcome::Failed;
}

SimLine::Outcome SimLine::WriteNoise() {
  Bytes noise(static_cast<std::size_t>(noise_bytes_));
  for (std::uint8_t& byte : noise) {
    noise_state_ ^= noise_state_ << 13;
    noise_state_ ^= noise_state_ >> 17;
    noise_state_ ^= noise_state_ << 5;
    byte = NoiseByte(noise_state_);
  }
  return Write(noise.data(), noise.size());
}

}  // namespace orgalink::sim
