// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <optional>
#include <string>

#include "platform/interrupt_signals.h"

namespace orgalink::gui {

// SIGINT and SIGTERM end the program in an orderly way, on the dialog
// thread: every window's event loop is left and none starts again, so a
// running communication is stopped as its closing dialog does it (NACK and
// END_COMMUNICATION still go out and the port is put back), and the program
// then ends as after Exit: settings written, single-instance socket
// removed. Make it after the application object and before the windows.
class SignalQuit : public QObject {
  Q_OBJECT

 public:
  SignalQuit();
  ~SignalQuit() override;

  // Why the signals cannot be watched; empty when they are.
  const std::string& Failure() const;

  // The program's exit status: 0, or what shells expect of the signal that
  // ended it (130, 143).
  int ExitStatus() const { return exitStatus_; }

  // What a signal does, run on the dialog thread.
  void Quit(platform::InterruptKind kind);

 private:
  int exitStatus_ = 0;
  std::optional<platform::InterruptSignals> signals_;
};

}  // namespace orgalink::gui
