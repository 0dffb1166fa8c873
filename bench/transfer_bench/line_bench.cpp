// SPDX-License-Identifier: GPL-3.0-or-later
#include "line_bench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

namespace orgalink::bench {

namespace {

constexpr long kMemoryAllowance = 20L * 1000 * 1000;

long FileSize(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0 : static_cast<long>(size);
}

}  // namespace

void LineBench::Run(BenchLine& line, const sim::OrganizerContents& reference) {
  const std::string archive = folder_ + "/archive" + std::to_string(timed_.size()) + ".bkf";
  const RunFigures backup = Timed(line, 1, archive, "backup");
  if (backup.status != link::LinkOk) return;
  archive_bytes_ = std::max(archive_bytes_, FileSize(archive));
  if (options_.safe_restore) {
    SafeRestores(line, archive);
    return;
  }
  Timed(line, 2, archive, "restore");
  if (const std::optional<bool> held = line.Holds(reference)) {
    timed_.back().contents = *held ? "intact" : "DIFFERENT";
  }
  Aborted(line, 1, folder_ + "/aborted.bkf", "backup");
  Aborted(line, 2, archive, "restore");
}

void LineBench::Print() const {
  Limits limits;
  limits.memoryBytes = 2 * archive_bytes_ + kMemoryAllowance;
  std::printf("\narchive %ld bytes; memory limit 2 x archive + 20 MB = %.1f MiB\n", archive_bytes_,
              limits.memoryBytes / (1024.0 * 1024.0));
  PrintTimedRuns(timed_, options_.echo, limits);
  PrintAbortRuns(aborts_, limits);
}

// What a restore costs with its safety backup, and what --verify adds.
void LineBench::SafeRestores(BenchLine& line, const std::string& archive) {
  Timed(line, 2, archive, "restore");
  RunRequest safe = Request(line, 2, archive);
  safe.safetyArchive = folder_ + "/before-restore.bkf";
  std::fprintf(stderr, "%s restore+safety ...\n", line.Name().c_str());
  timed_.push_back(
      {line.Name(), line.Baud(), "restore+safety", RunOnce(line.Opener(), tables_, safe), "-"});
  RunRequest readBack = Request(line, 1, "");
  readBack.readBack = true;
  std::fprintf(stderr, "%s read-back ...\n", line.Name().c_str());
  timed_.push_back(
      {line.Name(), line.Baud(), "read-back", RunOnce(line.Opener(), tables_, readBack), "-"});
}

RunRequest LineBench::Request(const BenchLine& line, std::uint8_t mode,
                              const std::string& archive) const {
  RunRequest request;
  request.runMode = mode;
  request.archive = archive;
  request.baudText = std::to_string(line.Baud() > 0 ? line.Baud() : 19200);
  request.echo = options_.echo;
  return request;
}

RunFigures LineBench::Timed(BenchLine& line, std::uint8_t mode, const std::string& archive,
                            const char* name) {
  std::fprintf(stderr, "%s %s ...\n", line.Name().c_str(), name);
  const RunFigures figures = RunOnce(line.Opener(), tables_, Request(line, mode, archive));
  timed_.push_back({line.Name(), line.Baud(), name, figures, "-"});
  return figures;
}

void LineBench::Aborted(BenchLine& line, std::uint8_t mode, const std::string& archive,
                        const char* name) {
  AbortRuns runs{line.Name(), name, {}};
  for (int i = 0; i < options_.aborts; ++i) {
    std::fprintf(stderr, "%s %s aborted (%d of %d) ...\n", line.Name().c_str(), name, i + 1,
                 options_.aborts);
    RunRequest request = Request(line, mode, archive);
    // Different moments meet the worker in different waits.
    request.abortAfter = std::chrono::milliseconds(300 + 97 * i);
    runs.trials.push_back(RunOnce(line.Opener(), tables_, request));
  }
  aborts_.push_back(std::move(runs));
}

}  // namespace orgalink::bench
