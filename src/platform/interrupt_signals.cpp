// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/interrupt_signals.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>

#include "platform/unique_fd.h"

namespace orgalink::platform {

namespace {

bool InheritedAsIgnored(int signal) {
  struct sigaction action {};
  return sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN;
}

struct Watched {
  int signal;
  InterruptKind kind;
};

// Every signal whose default action ends the program and that a user or
// the system sends to end it: a dropped ssh session (SIGHUP), a reader that
// went away (SIGPIPE), Ctrl-\ (SIGQUIT) end a run as Ctrl-C does, with its
// goodbye to the organizer.
constexpr Watched kWatched[] = {
    {SIGINT, InterruptKind::Interrupt}, {SIGTERM, InterruptKind::Terminate},
    {SIGHUP, InterruptKind::Hangup},    {SIGPIPE, InterruptKind::BrokenPipe},
    {SIGQUIT, InterruptKind::Quit},
};

InterruptKind KindOf(std::uint32_t signal) {
  for (const Watched& watched : kWatched) {
    if (static_cast<std::uint32_t>(watched.signal) == signal) return watched.kind;
  }
  return InterruptKind::Interrupt;
}

// The watched signals, less those the program inherited as ignored.
sigset_t HeldSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (const Watched& watched : kWatched) {
    if (!InheritedAsIgnored(watched.signal)) sigaddset(&signals, watched.signal);
  }
  return signals;
}

bool Empty(const sigset_t& signals) {
  for (const Watched& watched : kWatched) {
    if (sigismember(&signals, watched.signal) == 1) return false;
  }
  return true;
}

}  // namespace

struct InterruptSignals::Impl {
  sigset_t signals{};
  UniqueFd signal_fd;
  UniqueFd stop_fd;
  std::string failure;
  std::thread watcher;

  // The signal descriptor does not block: another thread (one started
  // before the signals were held) may take a signal that poll() has just
  // announced, and a blocking read would then wait for the next one.
  void Watch(const std::function<void(InterruptKind)>& on_signal) const {
    pollfd fds[2] = {{signal_fd.Get(), POLLIN, 0}, {stop_fd.Get(), POLLIN, 0}};
    for (;;) {
      if (poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;  // nothing more can be watched; never spin on a failing poll
      }
      if (fds[1].revents != 0) return;
      signalfd_siginfo info{};
      while (read(signal_fd.Get(), &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        on_signal(KindOf(info.ssi_signo));
      }
    }
  }

  bool Open() {
    signal_fd = UniqueFd(signalfd(-1, &signals, SFD_NONBLOCK | SFD_CLOEXEC));
    if (!signal_fd.Valid()) {
      failure = std::string("signalfd: ") + std::strerror(errno);
      return false;
    }
    stop_fd = UniqueFd(eventfd(0, EFD_CLOEXEC));
    if (!stop_fd.Valid()) {
      failure = std::string("eventfd: ") + std::strerror(errno);
      return false;
    }
    return true;
  }
};

int ExitStatusFor(InterruptKind kind) {
  for (const Watched& watched : kWatched) {
    if (watched.kind == kind) return 128 + watched.signal;
  }
  return 128 + SIGINT;
}

void HoldInterruptSignals() {
  const sigset_t signals = HeldSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

InterruptSignals::InterruptSignals(std::function<void(InterruptKind)> on_signal)
    : impl_(std::make_unique<Impl>()) {
  impl_->signals = HeldSignals();
  if (Empty(impl_->signals)) return;
  // Held already when main() did so; this covers a caller that did not.
  pthread_sigmask(SIG_BLOCK, &impl_->signals, nullptr);
  if (!impl_->Open()) return;
  try {
    impl_->watcher = std::thread(
        [impl = impl_.get(), callback = std::move(on_signal)] { impl->Watch(callback); });
  } catch (const std::system_error& error) {
    impl_->failure = std::string("thread: ") + error.what();
  }
}

// The watcher blocks only in poll(), which the stop descriptor ends, so
// the join returns.
InterruptSignals::~InterruptSignals() {
  if (impl_->watcher.joinable()) {
    const std::uint64_t one = 1;
    [[maybe_unused]] auto ignored = write(impl_->stop_fd.Get(), &one, sizeof one);
    impl_->watcher.join();
  }
}

const std::string& InterruptSignals::Failure() const {
  return impl_->failure;
}

}  // namespace orgalink::platform
