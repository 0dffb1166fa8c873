// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "link/link_engine.h"
#include "support/line_fixture.h"
#include "support/pty.h"

namespace orgalink::testsupport {

// The engine on a pseudo-terminal through the termios port, on system time,
// without echo; the test plays the organizer on the master side.
class PtyEngine {
 public:
  PtyEngine();

  // Opens the port and runs `step` while the organizer, shortly after the
  // start, writes `answer`. The answer comes late enough for the step to be
  // blocked in its wait by then.
  link::StepResult RunAnswered(const std::function<link::StepResult()>& step, const Bytes& answer);

  Pty pty;
  link::LinkEngine engine;
};

}  // namespace orgalink::testsupport
