// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/virtual_line.h"

#include <algorithm>

#include "platform/virtual_line_impl.h"

namespace orgalink::platform {

VirtualLine::Impl::Impl(Clock& clock, Options options)
    : clock(clock),
      options(options),
      units_per_ms(options.pacing_baud > 0 ? static_cast<std::uint64_t>(options.pacing_baud) : 1),
      units_per_byte(options.pacing_baud > 0 ? 10 * 1000 : 0),
      burst_units_a(static_cast<std::uint64_t>(std::max(options.burst_ms_a, 0)) * units_per_ms),
      last_tick_(clock.Now()),
      elapsed_ms_(last_tick_) {}

std::uint64_t VirtualLine::Impl::NowUnits() {
  Tick now = clock.Now();
  std::int32_t step = static_cast<std::int32_t>(now - last_tick_);
  if (step > 0) {
    elapsed_ms_ += static_cast<std::uint64_t>(step);
    last_tick_ = now;
  }
  return elapsed_ms_ * units_per_ms;
}

std::uint64_t VirtualLine::Impl::HandedOverAt(End end, std::uint64_t arrival) const {
  if (end != End::A || burst_units_a == 0) return arrival;
  return (arrival + burst_units_a - 1) / burst_units_a * burst_units_a;
}

void VirtualLine::Impl::Deliver(End end) {
  std::uint64_t now = NowUnits();
  Side& side = At(end);
  for (;;) {
    bool far_due =
        !side.from_far.empty() && HandedOverAt(end, side.from_far.front().arrival) <= now;
    bool echo_due = !side.echo.empty() && HandedOverAt(end, side.echo.front().arrival) <= now;
    if (!far_due && !echo_due) return;
    bool take_far = far_due && (!echo_due || side.from_far.front().Before(side.echo.front()));
    std::deque<InFlight>& source = take_far ? side.from_far : side.echo;
    if (side.open) side.received.push_back(source.front().byte);
    source.pop_front();
  }
}

std::size_t VirtualLine::Impl::Received(End end) {
  Deliver(end);
  return At(end).received.size();
}

std::size_t VirtualLine::Impl::InFlightFrom(End end) {
  Deliver(end == End::A ? End::B : End::A);
  return Far(end).from_far.size();
}

Tick VirtualLine::Impl::TickOf(std::uint64_t units) const {
  return static_cast<Tick>((units + units_per_ms - 1) / units_per_ms);
}

// Waking for every byte on its way would cost a wake-up per tick while a
// long frame comes in; the waiter needs only the byte that completes its count.
std::optional<Tick> VirtualLine::Impl::ArrivalAt(End end, std::size_t count) {
  Deliver(end);
  const Side& side = At(end);
  if (side.received.size() >= count) return std::nullopt;
  std::size_t missing = count - side.received.size();
  if (side.from_far.size() + side.echo.size() < missing) return std::nullopt;
  auto far = side.from_far.begin();
  auto echo = side.echo.begin();
  std::uint64_t arrival = 0;
  for (; missing > 0; --missing) {
    const bool take_far =
        echo == side.echo.end() || (far != side.from_far.end() && far->Before(*echo));
    arrival = (take_far ? far++ : echo++)->arrival;
  }
  return TickOf(HandedOverAt(end, arrival));
}

std::optional<Tick> VirtualLine::Impl::LastArrivalFrom(End end) {
  if (InFlightFrom(end) == 0) return std::nullopt;
  const End far = end == End::A ? End::B : End::A;
  return TickOf(HandedOverAt(far, Far(end).from_far.back().arrival));
}

// Bytes leave one after another: each starts when the previous one has
// arrived (or now, if the line is idle) and takes one byte time plus any
// delay the fault hook adds. A dropped byte still occupies the line.
void VirtualLine::Impl::Send(End from, const std::uint8_t* bytes, const Fault* faults,
                             std::size_t count) {
  std::uint64_t now = NowUnits();
  Side& sender = At(from);
  for (std::size_t i = 0; i < count; ++i) {
    const Fault& fault = faults[i];
    std::uint64_t delay = fault.kind == Fault::Kind::Delay ? fault.delay_ms * units_per_ms : 0;
    std::uint64_t arrival = std::max(now, sender.transmitter_free) + units_per_byte + delay;
    sender.transmitter_free = arrival;
    if (fault.kind == Fault::Kind::Drop) continue;
    std::uint8_t byte = fault.kind == Fault::Kind::Replace ? fault.value : bytes[i];
    InFlight in_flight{arrival, next_sequence++, byte};
    Far(from).from_far.push_back(in_flight);
    if (Echoes(from)) sender.echo.push_back(in_flight);
  }
  sender.written += count;
}

VirtualLine::VirtualLine(Clock& clock, Options options)
    : impl_(std::make_shared<Impl>(clock, options)) {}

// Ends still open keep the shared state alive; they see a cut cable.
VirtualLine::~VirtualLine() {
  HangUp();
}

std::unique_ptr<SerialPort> VirtualLine::Open(End end) {
  {
    std::lock_guard<std::mutex> guard(impl_->site->mutex);
    Impl::Side& side = impl_->At(end);
    if (side.open) return nullptr;
    // Whatever arrived while the end was closed is lost, as on a real port.
    impl_->Deliver(end);
    side.received.clear();
    side.open = true;
  }
  return OpenVirtualLineEnd(impl_, end);
}

void VirtualLine::SetFaultHook(FaultHook hook) {
  std::lock_guard<std::mutex> guard(impl_->site->mutex);
  impl_->fault_hook = std::move(hook);
}

void VirtualLine::HangUp() {
  {
    std::lock_guard<std::mutex> guard(impl_->site->mutex);
    impl_->hung_up = true;
  }
  impl_->Changed();
}

void VirtualLine::StallWrites(End end, bool stalled) {
  {
    std::lock_guard<std::mutex> guard(impl_->site->mutex);
    impl_->At(end).stalled = stalled;
  }
  impl_->Changed();
}

std::uint64_t VirtualLine::BytesWritten(End end) const {
  std::lock_guard<std::mutex> guard(impl_->site->mutex);
  return impl_->At(end).written;
}

}  // namespace orgalink::platform
