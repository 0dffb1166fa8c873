// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "pc_run.h"

namespace orgalink::bench {

// The line-time bound of a run: every byte either side put on the line at 10
// bit times (the echo excluded: it travels back while the PC's own bytes go
// out), plus the protocol's fixed 10 ms quiet-line wait before each write of
// the PC. A `baud` of 0 (an unpaced line) leaves only the waits.
double BoundSeconds(const RunFigures& run, int baud, bool echo);

struct TimedRun {
  std::string line;
  int baud = 0;
  std::string name;  // "backup" or "restore"
  RunFigures figures;
  std::string contents;  // "intact", "DIFFERENT" or "-"
};

struct AbortRuns {
  std::string line;
  std::string name;
  std::vector<RunFigures> trials;
};

struct Limits {
  double ratio = 1.10;
  double cpuShare = 0.02;
  double abortMs = 50;
  long memoryBytes = 0;
};

void PrintTimedRuns(const std::vector<TimedRun>& runs, bool echo, const Limits& limits);
void PrintAbortRuns(const std::vector<AbortRuns>& runs, const Limits& limits);

}  // namespace orgalink::bench
