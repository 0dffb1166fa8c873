// SPDX-License-Identifier: GPL-3.0-or-later
#include "progress_display.h"

#include "ui/progress_status_line.h"

namespace orgalink::cli {

namespace {

constexpr int kBarWidth = 30;
// Erases from the cursor to the end of the line.
constexpr const char* kClearToEnd = "\x1b[K";

}  // namespace

ProgressDisplay::ProgressDisplay(int runMode, bool live, int columns, std::FILE* out)
    : runMode_(runMode), model_(runMode), live_(live), columns_(columns), out_(out) {}

void ProgressDisplay::Handle(const link::ProgressEvent& event) {
  if (model_.Handle(event)) Draw();
}

// A line printed for each change would be one per record in a log; only the
// bar, redrawn in place, counts them.
std::string ProgressDisplay::StatusLine() const {
  return ui::StatusLineOf(model_, runMode_, live_);
}

std::string ProgressDisplay::BarLine() const {
  const int position = model_.BarPosition();
  const int filled = position * kBarWidth / ui::ProgressModel::kBarMaximum;
  std::string line = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] ";
  char percent[8];
  std::snprintf(percent, sizeof percent, "%3d%%", position);
  line += percent;
  if (const std::string status = StatusLine(); !status.empty()) line += "  " + status;
  // A line longer than the terminal would wrap, and the next redraw could no
  // longer return to its start.
  if (columns_ > 1 && static_cast<int>(line.size()) >= columns_) line.resize(columns_ - 1);
  return line;
}

void ProgressDisplay::Draw() {
  if (!live_) {
    const std::string line = StatusLine();
    if (line.empty() || line == shown_) return;
    shown_ = line;
    std::fprintf(out_, "%s\n", line.c_str());
    std::fflush(out_);
    return;
  }
  const std::string line = BarLine();
  if (onScreen_ && line == shown_) return;
  shown_ = line;
  onScreen_ = true;
  std::fprintf(out_, "\r%s%s", line.c_str(), kClearToEnd);
  std::fflush(out_);
}

void ProgressDisplay::Hide() {
  if (!live_ || !onScreen_) return;
  std::fprintf(out_, "\r%s", kClearToEnd);
  std::fflush(out_);
  onScreen_ = false;
}

void ProgressDisplay::Show() {
  if (live_ && !onScreen_ && !shown_.empty()) Draw();
}

void ProgressDisplay::Finish() {
  if (!live_ || !onScreen_) return;
  std::fputc('\n', out_);
  std::fflush(out_);
  onScreen_ = false;
}

}  // namespace orgalink::cli
