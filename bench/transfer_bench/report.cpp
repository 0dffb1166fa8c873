// SPDX-License-Identifier: GPL-3.0-or-later
#include "report.h"

#include <algorithm>
#include <cstdio>

namespace orgalink::bench {

namespace {

constexpr double kQuietSeconds = 0.010;
constexpr double kMiB = 1024.0 * 1024.0;

const char* Verdict(bool met) {
  return met ? "ok" : "MISSED";
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double Max(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

}  // namespace

double BoundSeconds(const RunFigures& run, int baud, bool echo) {
  const std::uint64_t organizer_bytes =
      run.bytesRead - std::min(run.bytesRead, echo ? run.bytesWritten : 0);
  const double line_seconds =
      baud > 0 ? static_cast<double>(run.bytesWritten + organizer_bytes) * 10.0 / baud : 0.0;
  return line_seconds + static_cast<double>(run.writes) * kQuietSeconds;
}

double LinkedSeconds(const RunFigures& run) {
  return run.wallSeconds - run.offerWaitSeconds;
}

void PrintTimedRuns(const std::vector<TimedRun>& runs, bool echo, const Limits& limits) {
  std::printf(
      "\nwall: the whole run; offer: of it, the wait for the organizer's first LINK_REQUEST\n"
      "ratio: (wall - offer) / bound; cpu: processor time / wall\n"
      "peak: the process's largest resident set during the run alone; grow: its rise over the\n"
      "resident set at the run's start\n");
  std::printf("%-14s %-7s %6s %8s %6s %8s %6s %6s %8s %8s %9s %8s %6s %8s %8s %-8s\n", "line",
              "run", "status", "wall s", "offer", "bound s", "ratio", "", "cpu all", "cpu pc",
              "peak MiB", "grow MiB", "writes", "PC B", "org B", "contents");
  bool inherited = false;
  for (const TimedRun& run : runs) {
    const RunFigures& f = run.figures;
    const double bound = BoundSeconds(f, run.baud, echo);
    const double ratio = bound > 0 ? LinkedSeconds(f) / bound : 0;
    const std::uint64_t organizer_bytes = f.bytesRead - (echo ? f.bytesWritten : 0);
    inherited = inherited || !f.peakIsOwn;
    std::printf(
        "%-14s %-7s %6d %8.2f %6.2f %8.2f %6.3f %6s %7.2f%% %7.2f%% %8.1f%s %8.1f %6llu %8llu "
        "%8llu %-8s\n",
        run.line.c_str(), run.name.c_str(), link::ToInt(f.status), f.wallSeconds,
        f.offerWaitSeconds, bound, ratio, Verdict(ratio <= limits.ratio),
        100 * f.processCpuSeconds / f.wallSeconds, 100 * f.pcThreadCpuSeconds / f.wallSeconds,
        f.peakResidentBytes / kMiB, f.peakIsOwn ? " " : "*", f.residentGrowthBytes / kMiB,
        static_cast<unsigned long long>(f.writes), static_cast<unsigned long long>(f.bytesWritten),
        static_cast<unsigned long long>(organizer_bytes), run.contents.c_str());
  }
  if (inherited) {
    std::printf(
        "* the system cannot reset the high-water mark: the process's peak so far, earlier runs "
        "included\n");
  }
  const auto all = [&runs](auto met) {
    return Verdict(std::all_of(runs.begin(), runs.end(), met));
  };
  std::printf(
      "\ntargets: ratio <= %.2f; cpu <= %.0f%% (all threads: %s, PC thread: %s); "
      "peak memory <= %.1f MiB: %s\n",
      limits.ratio, 100 * limits.cpuShare, all([&](const TimedRun& r) {
        return r.figures.processCpuSeconds <= limits.cpuShare * r.figures.wallSeconds;
      }),
      all([&](const TimedRun& r) {
        return r.figures.pcThreadCpuSeconds <= limits.cpuShare * r.figures.wallSeconds;
      }),
      limits.memoryBytes / kMiB,
      all([&](const TimedRun& r) { return r.figures.peakResidentBytes <= limits.memoryBytes; }));
}

void PrintAbortRuns(const std::vector<AbortRuns>& runs, const Limits& limits) {
  std::printf(
      "\naborts, ms from the request: to the end of the wait it met / to the end of the "
      "run (closing NACK and END_COMMUNICATION included)\n");
  std::printf("%-14s %-7s %6s %-10s %9s %9s %4s %9s %9s\n", "line", "run", "trials", "statuses",
              "wait med", "wait max", "", "run med", "run max");
  for (const AbortRuns& run : runs) {
    std::vector<double> noticed;
    std::vector<double> total;
    std::string statuses;
    for (const RunFigures& trial : run.trials) {
      if (trial.abortNoticedMs) noticed.push_back(*trial.abortNoticedMs);
      if (trial.abortTotalMs) total.push_back(*trial.abortTotalMs);
      if (!statuses.empty()) statuses += ",";
      statuses += std::to_string(link::ToInt(trial.status));
    }
    std::printf("%-14s %-7s %6zu %-10s %9.1f %9.1f %4s %9.1f %9.1f\n", run.line.c_str(),
                run.name.c_str(), noticed.size(), statuses.c_str(), Median(noticed), Max(noticed),
                Verdict(noticed.size() == run.trials.size() && Max(noticed) <= limits.abortMs),
                Median(total), Max(total));
  }
}

}  // namespace orgalink::bench
