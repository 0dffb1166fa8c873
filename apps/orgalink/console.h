// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::cli {

// The person at the command line, if any. Questions need a terminal on both
// standard input (to answer) and standard error (to read them); the live
// progress bar needs one on standard error that understands cursor control
// (not TERM=dumb).
class Console {
 public:
  Console();

  bool CanAsk() const { return canAsk_; }
  bool ShowsLiveProgress() const { return liveProgress_; }
  int Columns() const;

  // Asks `question` with "[y/N]"; true only for an answer starting with y.
  // Without a terminal, or when `wakeFd` (-1 for none) turns readable before
  // the answer comes, the answer is no.
  bool AskYesNo(const std::string& question, int wakeFd = -1) const;

  // Shows `text` and asks whether to retry. Without a terminal the text is
  // still shown and the answer is cancel; likewise when `wakeFd` turns
  // readable first.
  bool AskRetry(const std::string& text, int wakeFd) const;

 private:
  bool canAsk_;
  bool liveProgress_;
};

}  // namespace orgalink::cli
