// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/pty.h"

namespace orgalink::testsupport {

// A program run as a person at a terminal runs it: a pseudo-terminal is its
// controlling terminal and all three standard streams, so it can ask
// questions, draw on the line, and get SIGINT from a typed Ctrl-C.
class TerminalSession {
 public:
  TerminalSession(const std::string& program, const std::vector<std::string>& args);
  ~TerminalSession();
  TerminalSession(const TerminalSession&) = delete;
  TerminalSession& operator=(const TerminalSession&) = delete;

  // Collects the screen output until it holds `text`; false when it did not
  // come within `timeout_ms`.
  bool WaitFor(const std::string& text, int timeout_ms = 10000);
  // Types on the keyboard: "y\n", or "\x03" for Ctrl-C.
  void Type(const std::string& keys);
  // Waits for the program to end and returns its exit status (128 + the
  // signal's number when a signal ended it).
  int Wait();
  // Everything the program put on the screen so far (CR LF line ends).
  const std::string& Screen() const { return screen_; }

 private:
  void Collect(int timeout_ms);

  Pty terminal_;
  // Held open so that the terminal never hangs up while the program starts
  // or after it ended: reads then wait instead of returning at once.
  int slave_ = -1;
  pid_t pid_ = -1;
  std::string screen_;
};

}  // namespace orgalink::testsupport
