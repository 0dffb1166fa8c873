// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

#include "platform/virtual_line.h"

namespace orgalink::platform {

// The state of a virtual cable, shared by the line and its open ends. It has
// a lock and a condition variable of its own (`site`); every member function
// expects site->mutex to be held, and a change that a waiter may be waiting
// for is announced with Changed(), without the lock.
//
// Time is kept in units of 1/baud milliseconds on a paced line (one bit takes
// exactly 1000 units, a byte 10000) and in milliseconds otherwise, counted on
// from the clock's tick without wrap-around, so that arrival times stay exact.
struct VirtualLine::Impl {
  struct InFlight {
    std::uint64_t arrival;
    std::uint64_t sequence;  // order of writing, for bytes that arrive at the same time
    std::uint8_t byte;

    bool Before(const InFlight& other) const {
      return arrival != other.arrival ? arrival < other.arrival : sequence < other.sequence;
    }
  };

  struct Side {
    bool open = false;
    std::deque<std::uint8_t> received;
    std::deque<InFlight> from_far;       // bytes the other end wrote, in order of arrival
    std::deque<InFlight> echo;           // this end's own bytes coming back, in order of arrival
    std::uint64_t transmitter_free = 0;  // when the next byte of this end can start
    std::uint64_t written = 0;
    bool stalled = false;  // the device takes no bytes from this end
  };

  Impl(Clock& clock, Options options);

  // Wakes the waiters of the line (and lets virtual time go on only once
  // they have looked again).
  void Changed() { clock.Notify(); }

  std::uint64_t NowUnits();
  // Moves the bytes that have arrived at `end` into its input (or drops them
  // while that end is closed).
  void Deliver(End end);
  std::size_t Received(End end);
  // Bytes written at `end` that have not yet arrived at the other end.
  std::size_t InFlightFrom(End end);
  // When `count` bytes will have reached the input at `end`, if as many are
  // on their way.
  std::optional<Tick> ArrivalAt(End end, std::size_t count);
  // When the last byte written at `end` has reached the other end's input,
  // if any is on its way.
  std::optional<Tick> LastArrivalFrom(End end);
  // When a byte that arrives at `end` at `arrival` reaches its input.
  std::uint64_t HandedOverAt(End end, std::uint64_t arrival) const;
  void Send(End from, const std::uint8_t* bytes, const Fault* faults, std::size_t count);

  Side& At(End end) { return sides[end == End::A ? 0 : 1]; }
  Side& Far(End end) { return sides[end == End::A ? 1 : 0]; }
  bool Echoes(End end) const { return end == End::A ? options.echo_a : options.echo_b; }

  Clock& clock;
  const std::shared_ptr<WaitSite> site = std::make_shared<WaitSite>();
  const Options options;
  const std::uint64_t units_per_ms;
  const std::uint64_t units_per_byte;
  const std::uint64_t burst_units_a;
  FaultHook fault_hook;
  bool hung_up = false;
  std::uint64_t next_sequence = 0;
  Side sides[2];

 private:
  Tick TickOf(std::uint64_t units) const;

  Tick last_tick_;
  std::uint64_t elapsed_ms_;
};

// Hands out an open end; the caller has marked it open.
std::unique_ptr<SerialPort> OpenVirtualLineEnd(std::shared_ptr<VirtualLine::Impl> impl,
                                               VirtualLine::End end);

}  // namespace orgalink::platform
