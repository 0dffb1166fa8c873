// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/pty_service.h"

#include <atomic>
#include <optional>

#include "platform/interrupt_signals.h"

namespace orgalink::sim {

namespace {

// A pseudo-terminal has no line speed; this only satisfies the set-up.
constexpr int kBaud = 19200;

}  // namespace

std::unique_ptr<PtyService> PtyService::Start(SimOptions options, std::string& error) {
  options.relink = true;
  options.offer_window_ms = 0;
  platform::Clock& clock = platform::SystemClock::Instance();
  std::unique_ptr<PtyService> service(new PtyService());
  service->pty_ = platform::PseudoTerminal::Open(kBaud, clock, error);
  if (!service->pty_) return nullptr;
  service->organizer_ = SimOrganizer::Create(options, clock, error);
  if (!service->organizer_) return nullptr;
  PtyService* self = service.get();
  service->organizer_->Attach(service->pty_->Port(), [self] { self->HungUp(); });
  if (!service->organizer_->Start()) {
    error = "the simulated organizer's thread cannot be started";
    return nullptr;
  }
  service->organizer_->PressPcLink();
  return service;
}

// The organizer goes before the line it uses.
PtyService::~PtyService() {
  organizer_.reset();
  pty_.reset();
}

bool PtyService::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return stop_ || hung_up_; });
  return hung_up_;
}

void PtyService::Stop() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
}

void PtyService::HungUp() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    hung_up_ = true;
  }
  changed_.notify_all();
}

PtyServeEnd ServePtyUntilInterrupted(const SimOptions& options,
                                     const std::function<void(const std::string&)>& on_ready,
                                     std::string& error) {
  std::atomic<PtyService*> current{nullptr};
  std::atomic<bool> interrupted{false};
  // Before any thread starts, so that they all leave the signals to it.
  std::optional<platform::InterruptSignals> signals(
      std::in_place, [&current, &interrupted](platform::InterruptKind) {
        interrupted = true;
        if (PtyService* service = current.load()) service->Stop();
      });
  if (!signals->Failure().empty()) {
    error = "cannot watch for Ctrl-C and SIGTERM: " + signals->Failure();
    return PtyServeEnd::Failed;
  }
  std::unique_ptr<PtyService> service = PtyService::Start(options, error);
  if (!service) return PtyServeEnd::Failed;
  current = service.get();
  if (interrupted) service->Stop();
  if (on_ready) on_ready(service->DevicePath());
  const bool hung_up = service->Wait();
  // No signal may reach the service once it is gone.
  signals.reset();
  return hung_up ? PtyServeEnd::HungUp : PtyServeEnd::Interrupted;
}

}  // namespace orgalink::sim
