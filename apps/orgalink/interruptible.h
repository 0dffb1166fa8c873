#pragma once

#include <optional>

#include "platform/cancel_token.h"
#include "platform/interrupt_signals.h"
#include "stop_request.h"

namespace orgalink::cli {

// While one lives, SIGINT and SIGTERM set `cancel`, the abort request that
// every wait of the link and every question on the terminal look for,
// instead of ending the program; the first of them is remembered. The
// signals are held from the start of main(), so one that came before is
// seen at once.
class Interruptible {
 public:
  explicit Interruptible(platform::CancelToken& cancel);

  // False, after saying why on standard error, when the signals cannot be
  // watched or the request cannot wake a wait: the program would then run
  // on unstoppable, so nothing may start.
  bool Watching() const;

  // The signal that asked to stop, if one did.
  std::optional<platform::InterruptKind> Stop() const { return request_.Kind(); }

 private:
  const platform::CancelToken& cancel_;
  StopRequest request_;
  // Last: its watcher stops before what it touches goes.
  platform::InterruptSignals signals_;
};

}  // namespace orgalink::cli
