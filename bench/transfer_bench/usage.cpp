// SPDX-License-Identifier: GPL-3.0-or-later
#include "usage.h"

#include <sys/resource.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace orgalink::bench {

namespace {

double CpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A "Vm...:  1234 kB" line of /proc/self/status in bytes; -1 when missing.
long StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1)) * 1024;
  }
  return -1;
}

// ru_maxrss never comes down: it keeps the peak of threads that have ended.
long ProcessPeakBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024L;
}

// Writing 5 to clear_refs sets the high-water mark (VmHWM) to the present
// resident set (Linux 4.0 and later).
bool ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5" << std::flush;
  return clear.good();
}

}  // namespace

double ProcessCpuSeconds() {
  return CpuSeconds(RUSAGE_SELF);
}

double ThreadCpuSeconds() {
  return CpuSeconds(RUSAGE_THREAD);
}

RunMemory::RunMemory() : own_(ResetPeak() && StatusBytes("VmHWM") >= 0) {
  start_bytes_ = std::max(StatusBytes("VmRSS"), 0L);
}

long RunMemory::PeakBytes() const {
  return own_ ? StatusBytes("VmHWM") : ProcessPeakBytes();
}

long RunMemory::GrowthBytes() const {
  return std::max(PeakBytes() - start_bytes_, 0L);
}

}  // namespace orgalink::bench
