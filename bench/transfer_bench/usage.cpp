#include "usage.h"

#include <sys/resource.h>

namespace orgalink::bench {

namespace {

double CpuSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

double ProcessCpuSeconds() {
  return CpuSeconds(RUSAGE_SELF);
}

double ThreadCpuSeconds() {
  return CpuSeconds(RUSAGE_THREAD);
}

long PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024L;
}

}  // namespace orgalink::bench
