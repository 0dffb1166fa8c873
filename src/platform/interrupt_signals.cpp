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

namespace orgalink::platform {

struct InterruptSignals::Impl {
  sigset_t signals{};
  sigset_t previous_mask{};
  int signal_fd = -1;
  int stop_fd = -1;
  std::thread watcher;

  void Watch(const std::function<void()>& on_signal) const {
    pollfd fds[2] = {{signal_fd, POLLIN, 0}, {stop_fd, POLLIN, 0}};
    for (;;) {
      if (poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;  // nothing more can be watched; never spin on a failing poll
      }
      if (fds[1].revents != 0) return;
      signalfd_siginfo info{};
      if (read(signal_fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) on_signal();
    }
  }
};

InterruptSignals::InterruptSignals(std::function<void()> on_signal)
    : impl_(std::make_unique<Impl>()) {
  sigemptyset(&impl_->signals);
  sigaddset(&impl_->signals, SIGINT);
  sigaddset(&impl_->signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &impl_->signals, &impl_->previous_mask);
  impl_->signal_fd = signalfd(-1, &impl_->signals, SFD_CLOEXEC);
  impl_->stop_fd = eventfd(0, EFD_CLOEXEC);
  if (impl_->signal_fd < 0 || impl_->stop_fd < 0) return;
  impl_->watcher =
      std::thread([impl = impl_.get(), callback = std::move(on_signal)] { impl->Watch(callback); });
}

InterruptSignals::~InterruptSignals() {
  if (impl_->watcher.joinable()) {
    const std::uint64_t one = 1;
    [[maybe_unused]] auto ignored = write(impl_->stop_fd, &one, sizeof one);
    impl_->watcher.join();
  }
  if (impl_->signal_fd >= 0) close(impl_->signal_fd);
  if (impl_->stop_fd >= 0) close(impl_->stop_fd);
  pthread_sigmask(SIG_SETMASK, &impl_->previous_mask, nullptr);
}

}  // namespace orgalink::platform
