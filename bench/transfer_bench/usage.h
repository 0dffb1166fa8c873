// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace orgalink::bench {

// Processor time in seconds (user and system) of every thread of this
// process and of the calling thread alone.
double ProcessCpuSeconds();
double ThreadCpuSeconds();

// The memory of one run, measured in this process: the kernel's high-water
// mark of the resident set is brought down to the present size when the run
// starts, so that the peak read at its end is the run's own and not one an
// earlier run left behind.
class RunMemory {
 public:
  // Starts the measurement.
  RunMemory();
  // The largest resident set since the start, in bytes. Where the mark
  // cannot be brought down (no /proc/self/clear_refs), the process's peak
  // so far, which Own() then denies.
  long PeakBytes() const;
  // How far the peak rose above the resident set at the start, in bytes: what
  // the run itself added, whatever stayed resident from earlier runs.
  long GrowthBytes() const;
  bool Own() const { return own_; }

 private:
  bool own_ = false;
  long start_bytes_ = 0;
};

}  // namespace orgalink::bench
