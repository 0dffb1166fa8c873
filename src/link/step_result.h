// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <utility>

#include "link/cause.h"
#include "link/link_status.h"

namespace orgalink::link {

// What a link, transfer or operation step hands back: its status and, when
// it failed, why. A bare status converts to a result without a cause, so
// success stays `return LinkOk;`; the way back is explicit (`.status`), so
// that a cause is never dropped unnoticed on the way up.
struct StepResult {
  StepResult(LinkStatus s = LinkOk) : status(s) {}  // NOLINT: a status is a result
  StepResult(LinkStatus s, Cause c) : status(s), cause(std::move(c)) {}

  bool Ok() const { return status == LinkOk; }
  explicit operator bool() const { return Ok(); }

  friend bool operator==(const StepResult& result, LinkStatus s) { return result.status == s; }

  LinkStatus status;
  Cause cause;
};

// Prints the status and the cause's text, for test failure messages.
std::ostream& operator<<(std::ostream& out, const StepResult& result);

}  // namespace orgalink::link
