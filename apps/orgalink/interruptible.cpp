// SPDX-License-Identifier: GPL-3.0-or-later
#include "interruptible.h"

#include <cstdio>

#include "platform/read_interrupt.h"

namespace orgalink::cli {

bool Interruptible::Watching() {
  std::call_once(started_, [this] {
    signals_.emplace([this](platform::InterruptKind kind) {
      request_.Note(kind);
      cancel_.Set();
    });
    platform::SetReadInterrupt(cancel_.WakeFd());
  });
  if (!cancel_.Failure().empty()) {
    std::fprintf(stderr, "orgalink: no descriptor for the abort request: %s\n",
                 cancel_.Failure().c_str());
    return false;
  }
  if (!signals_->Failure().empty()) {
    std::fprintf(stderr, "orgalink: cannot watch for Ctrl-C and SIGTERM: %s\n",
                 signals_->Failure().c_str());
    return false;
  }
  return true;
}

}  // namespace orgalink::cli
