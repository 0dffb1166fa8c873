// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace orgalink::platform {

// The requests to stop that a console program gets: Ctrl-C (SIGINT), a
// polite kill (SIGTERM), a terminal or ssh session that went away (SIGHUP),
// a reader of its output that went away (SIGPIPE) and Ctrl-\ (SIGQUIT).
enum class InterruptKind { Interrupt, Terminate, Hangup, BrokenPipe, Quit };

// The exit status shells expect of a program that one of them ended:
// 128 plus the signal's number, so 130, 143, 129, 141 and 131.
int ExitStatusFor(InterruptKind kind);

// Blocks those signals in the calling thread, and so in every thread
// started from it later, so that the kernel never hands them to a thread
// that would die of them. A signal the program inherited as ignored (a
// script's background job gets SIGINT so) stays ignored and unblocked: the
// kernel then throws it away. Call it first thing in main(), before any
// thread starts.
void HoldInterruptSignals();

// Turns those signals into calls of `on_signal` on a watcher thread,
// so that an interrupt can become an abort request instead of killing the
// program in the middle of a communication. A signal inherited as ignored is
// not watched. The signals stay blocked after destruction: one that comes
// later waits unseen until the program ends.
class InterruptSignals {
 public:
  explicit InterruptSignals(std::function<void(InterruptKind)> on_signal);
  ~InterruptSignals();
  InterruptSignals(const InterruptSignals&) = delete;
  InterruptSignals& operator=(const InterruptSignals&) = delete;

  // Why the signals cannot be watched; empty when they are. With the signals
  // blocked and unwatched Ctrl-C would do nothing at all, so a caller must
  // not go on as if it worked.
  const std::string& Failure() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orgalink::platform
