// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/virtual_line_impl.h"

namespace orgalink::platform {

namespace {

using End = VirtualLine::End;
using Fault = VirtualLine::Fault;

// One open end of a virtual cable. It shares the line's state, so an end
// kept past the line reports a cut cable instead of touching freed memory.
class VirtualLinePort final : public SerialPort {
 public:
  VirtualLinePort(std::shared_ptr<VirtualLine::Impl> impl, End end)
      : impl_(std::move(impl)), end_(end) {}

  ~VirtualLinePort() override {
    std::lock_guard<std::mutex> guard(Mutex());
    impl_->Deliver(end_);
    impl_->At(end_).open = false;
    impl_->At(end_).received.clear();
  }

  VirtualLinePort(const VirtualLinePort&) = delete;
  VirtualLinePort& operator=(const VirtualLinePort&) = delete;

  // Unsent output is every byte still on its way: it is taken back and the
  // transmitter is free at once. Input already in flight still arrives.
  bool Purge(bool input, bool output) override {
    {
      std::lock_guard<std::mutex> guard(Mutex());
      if (impl_->hung_up) return CutOff(false);
      if (input) {
        impl_->Deliver(end_);
        impl_->At(end_).received.clear();
      }
      if (!output) return true;
      impl_->Deliver(End::A);
      impl_->Deliver(End::B);
      impl_->Far(end_).from_far.clear();
      impl_->At(end_).echo.clear();
      impl_->At(end_).transmitter_free = impl_->NowUnits();
    }
    // The far end's waiter may have counted on the bytes taken back.
    impl_->Changed();
    return true;
  }

  int InQueue() override {
    std::lock_guard<std::mutex> guard(Mutex());
    if (impl_->hung_up) return CutOff(-1);
    return static_cast<int>(impl_->Received(end_));
  }

  int OutQueue() override {
    std::lock_guard<std::mutex> guard(Mutex());
    if (impl_->hung_up) return CutOff(-1);
    return static_cast<int>(impl_->InFlightFrom(end_));
  }

  int Read(std::uint8_t* buffer, std::size_t max) override {
    std::lock_guard<std::mutex> guard(Mutex());
    if (impl_->hung_up) return CutOff(-1);
    impl_->Deliver(end_);
    std::deque<std::uint8_t>& received = impl_->At(end_).received;
    std::size_t got = std::min(max, received.size());
    std::copy_n(received.begin(), got, buffer);
    received.erase(received.begin(), received.begin() + static_cast<std::ptrdiff_t>(got));
    return static_cast<int>(got);
  }

  // The line buffers without limit, so a write waits only while the end is
  // stalled.
  WaitResult Write(const std::uint8_t* data, std::size_t count, std::size_t& written, Tick deadline,
                   const CancelToken& cancel) override {
    const WaitResult room = Wait(
        cancel, [this] { return !impl_->At(end_).stalled; },
        [&](auto& lock, const auto& ready) {
          impl_->clock.WaitUntil(impl_->site, lock, ready, deadline, {});
        });
    if (room != WaitResult::Ready) return room;
    if (written >= count) return WaitResult::Ready;
    std::vector<Fault> faults;
    if (!AskFaultHook(data, count, written, faults)) return CutOff(WaitResult::Error);
    {
      std::lock_guard<std::mutex> guard(Mutex());
      if (impl_->hung_up) return CutOff(WaitResult::Error);
      impl_->Send(end_, data + written, faults.data(), count - written);
    }
    written = count;
    impl_->Changed();
    return WaitResult::Ready;
  }

  WaitResult WaitInput(std::size_t count, Tick deadline, const CancelToken& cancel) override {
    return Wait(cancel, Received(count), [&](auto& lock, const auto& ready) {
      impl_->clock.WaitUntil(impl_->site, lock, ready, deadline, ArrivalOf(count));
    });
  }

  WaitResult WaitInputFor(std::size_t count, std::chrono::microseconds limit,
                          const CancelToken& cancel) override {
    return Wait(cancel, Received(count), [&](auto& lock, const auto& ready) {
      impl_->clock.WaitFor(impl_->site, lock, ready, limit, ArrivalOf(count));
    });
  }

  WaitResult WaitOutputEmpty(Tick deadline, const CancelToken& cancel) override {
    return Wait(
        cancel, [this] { return impl_->InFlightFrom(end_) == 0; },
        [&](auto& lock, const auto& ready) {
          impl_->clock.WaitUntil(impl_->site, lock, ready, deadline,
                                 [this] { return impl_->LastArrivalFrom(end_); });
        });
  }

  int LastError() const override { return last_error_; }

 private:
  std::mutex& Mutex() { return impl_->site->mutex; }

  // A cut cable fails a call as a hung-up device does, with EIO.
  template <typename Result>
  Result CutOff(Result failed) {
    last_error_ = EIO;
    return failed;
  }

  // The hook runs without the line's lock, so it may use the line and the
  // clock freely.
  bool AskFaultHook(const std::uint8_t* data, std::size_t count, std::size_t written,
                    std::vector<Fault>& faults) {
    VirtualLine::FaultHook hook;
    std::uint64_t first_index = 0;
    {
      std::lock_guard<std::mutex> guard(Mutex());
      if (impl_->hung_up) return false;
      hook = impl_->fault_hook;
      first_index = impl_->At(end_).written;
    }
    faults.assign(count - written, Fault{});
    if (hook) {
      for (std::size_t i = 0; i < faults.size(); ++i) {
        faults[i] = hook(end_, first_index + i, data[written + i]);
      }
    }
    return true;
  }

  std::function<bool()> Received(std::size_t count) {
    return [this, count] { return impl_->Received(end_) >= count; };
  }

  std::function<std::optional<Tick>()> ArrivalOf(std::size_t count) {
    return [this, count] { return impl_->ArrivalAt(end_, count); };
  }

  // `block` waits on the clock with the line's lock held until the condition
  // it is given holds or its time is up.
  template <typename Done, typename Block>
  WaitResult Wait(const CancelToken& cancel, Done done, Block block) {
    cancel.Watch(impl_->clock);
    std::unique_lock<std::mutex> lock(Mutex());
    block(lock, std::function<bool()>([&] { return impl_->hung_up || cancel.IsSet() || done(); }));
    // In the order every port follows when several hold at once.
    if (cancel.IsSet()) return WaitResult::Cancelled;
    if (impl_->hung_up) return CutOff(WaitResult::Error);
    return done() ? WaitResult::Ready : WaitResult::Timeout;
  }

  std::shared_ptr<VirtualLine::Impl> impl_;
  End end_;
  int last_error_ = 0;
};

}  // namespace

std::unique_ptr<SerialPort> OpenVirtualLineEnd(std::shared_ptr<VirtualLine::Impl> impl, End end) {
  return std::make_unique<VirtualLinePort>(std::move(impl), end);
}

}  // namespace orgalink::platform
