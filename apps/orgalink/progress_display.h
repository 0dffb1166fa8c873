// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

#include "link/progress_sink.h"
#include "ui/progress_model.h"

namespace orgalink::cli {

// The progress dialog on a console, driven by the same rules. On a terminal
// it is one live line with a bar, the percentage and the status text; on
// anything else every change of the status text becomes a line of its own.
class ProgressDisplay {
 public:
  ProgressDisplay(int runMode, bool live, int columns, std::FILE* out);

  // Feeds an event of the run to the progress rules and shows the result.
  void Handle(const link::ProgressEvent& event);

  // Takes the live line off the screen before other output, and puts it back.
  void Hide();
  void Show();

  // Leaves the live line standing as the run ended.
  void Finish();

 private:
  std::string StatusLine() const;
  std::string BarLine() const;
  void Draw();

  int runMode_;
  ui::ProgressModel model_;
  bool live_;
  int columns_;
  std::FILE* out_;
  std::string shown_;  // the line on screen (live) or printed last
  bool onScreen_ = false;
};

}  // namespace orgalink::cli
