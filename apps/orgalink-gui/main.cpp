// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink-gui: the dialog program for backing up and restoring the organizer.

#include "platform/interrupt_signals.h"
#include "program.h"

int main(int argc, char** argv) {
  // Before any thread starts (Qt's, a worker's), so that SIGINT and SIGTERM
  // reach only the program's own watcher, which ends it in order.
  orgalink::platform::HoldInterruptSignals();
  return orgalink::gui::RunProgram(argc, argv);
}
