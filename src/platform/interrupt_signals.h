#pragma once

#include <functional>
#include <memory>

namespace orgalink::platform {

// The two requests to stop that a console program gets: Ctrl-C (SIGINT)
// and a polite kill (SIGTERM).
enum class InterruptKind { Interrupt, Terminate };

// The exit status shells expect of a program that one of them ended:
// 128 plus the signal's number, so 130 and 143.
int ExitStatusFor(InterruptKind kind);

// Turns SIGINT and SIGTERM into calls of `on_signal` on a watcher thread,
// so that an interrupt can be posted as an abort request instead of killing
// the program in the middle of a communication. Construct it before starting
// other threads: they inherit the blocked signal mask.
class InterruptSignals {
 public:
  explicit InterruptSignals(std::function<void(InterruptKind)> on_signal);
  ~InterruptSignals();
  InterruptSignals(const InterruptSignals&) = delete;
  InterruptSignals& operator=(const InterruptSignals&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orgalink::platform
