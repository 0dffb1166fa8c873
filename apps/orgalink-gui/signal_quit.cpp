// SPDX-License-Identifier: GPL-3.0-or-later
#include "signal_quit.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace orgalink::gui {

SignalQuit::SignalQuit() {
  signals_.emplace([this](platform::InterruptKind kind) {
    QMetaObject::invokeMethod(
        this, [this, kind] { Quit(kind); }, Qt::QueuedConnection);
  });
}

// The watcher stops before this object goes: no call can reach it later.
SignalQuit::~SignalQuit() {
  signals_.reset();
}

const std::string& SignalQuit::Failure() const {
  return signals_->Failure();
}

void SignalQuit::Quit(platform::InterruptKind kind) {
  if (exitStatus_ == 0) exitStatus_ = platform::ExitStatusFor(kind);
  // Ends the loops of the main window and of every dialog and box open over
  // it, and keeps any later one from running: what follows in the flows
  // sees a cancelled box or dialog and stops.
  QCoreApplication::exit(exitStatus_);
}

}  // namespace orgalink::gui
