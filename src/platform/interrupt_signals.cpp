#include "platform/interrupt_signals.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <thread>

#include "platform/unique_fd.h"

namespace orgalink::platform {

struct InterruptSignals::Impl {
  sigset_t signals{};
  sigset_t previous_mask{};
  UniqueFd signal_fd;
  UniqueFd stop_fd;
  std::thread watcher;

  void Watch(const std::function<void(InterruptKind)>& on_signal) const {
    pollfd fds[2] = {{signal_fd.Get(), POLLIN, 0}, {stop_fd.Get(), POLLIN, 0}};
    for (;;) {
      if (poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;  // nothing more can be watched; never spin on a failing poll
      }
      if (fds[1].revents != 0) return;
      signalfd_siginfo info{};
      if (read(signal_fd.Get(), &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
      on_signal(info.ssi_signo == SIGTERM ? InterruptKind::Terminate : InterruptKind::Interrupt);
    }
  }
};

int ExitStatusFor(InterruptKind kind) {
  return 128 + (kind == InterruptKind::Terminate ? SIGTERM : SIGINT);
}

InterruptSignals::InterruptSignals(std::function<void(InterruptKind)> on_signal)
    : impl_(std::make_unique<Impl>()) {
  sigemptyset(&impl_->signals);
  sigaddset(&impl_->signals, SIGINT);
  sigaddset(&impl_->signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &impl_->signals, &impl_->previous_mask);
  impl_->signal_fd = UniqueFd(signalfd(-1, &impl_->signals, SFD_CLOEXEC));
  impl_->stop_fd = UniqueFd(eventfd(0, EFD_CLOEXEC));
  if (!impl_->signal_fd.Valid() || !impl_->stop_fd.Valid()) return;
  impl_->watcher =
      std::thread([impl = impl_.get(), callback = std::move(on_signal)] { impl->Watch(callback); });
}

InterruptSignals::~InterruptSignals() {
  if (impl_->watcher.joinable()) {
    const std::uint64_t one = 1;
    [[maybe_unused]] auto ignored = write(impl_->stop_fd.Get(), &one, sizeof one);
    impl_->watcher.join();
  }
  impl_->signal_fd.Reset();
  impl_->stop_fd.Reset();
  pthread_sigmask(SIG_SETMASK, &impl_->previous_mask, nullptr);
}

}  // namespace orgalink::platform
