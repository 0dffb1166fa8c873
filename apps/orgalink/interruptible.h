// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <mutex>
#include <optional>

#include "platform/cancel_token.h"
#include "platform/interrupt_signals.h"
#include "stop_request.h"

namespace orgalink::cli {

// The program's one signal watcher, made in main() for every command: once a
// command starts it (Watching), SIGINT, SIGTERM, SIGHUP, SIGPIPE and SIGQUIT set its cancel
// token, the abort request that every wait of the link, every question on
// the terminal and every read of an input look for, instead of ending the
// program; the first of them is remembered. The signals are held from the
// start of main(), so one that came before is seen at once. It starts only
// when asked, so that a command with a watcher of its own (simulate) is the
// only one to take the signals.
class Interruptible {
 public:
  Interruptible() = default;

  // Starts watching, once. False, after saying why on standard error, when
  // the signals cannot be watched or the request cannot wake a wait: the
  // program would then run on unstoppable, so no communication may start.
  bool Watching();

  platform::CancelToken& Token() { return cancel_; }
  const platform::CancelToken& Token() const { return cancel_; }

  // The signal that asked to stop, if one did.
  std::optional<platform::InterruptKind> Stop() const { return request_.Kind(); }

 private:
  platform::CancelToken cancel_;
  StopRequest request_;
  std::once_flag started_;
  // Last: its watcher stops before what it touches goes.
  std::optional<platform::InterruptSignals> signals_;
};

}  // namespace orgalink::cli
