// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "bench_line.h"
#include "options.h"
#include "report.h"
#include "store/code_tables.h"

namespace orgalink::bench {

// Puts each line through a timed backup, a timed restore of what it backed
// up, and the aborted runs, and keeps the figures for the report.
class LineBench {
 public:
  // Archives go into `folder`.
  LineBench(const Options& options, const store::CharTables& tables, std::string folder)
      : options_(options), tables_(tables), folder_(std::move(folder)) {}

  void Run(BenchLine& line, const sim::OrganizerContents& reference);
  void Print() const;

 private:
  void SafeRestores(BenchLine& line, const std::string& archive);
  RunRequest Request(const BenchLine& line, std::uint8_t mode, const std::string& archive) const;
  RunFigures Timed(BenchLine& line, std::uint8_t mode, const std::string& archive,
                   const char* name);
  void Aborted(BenchLine& line, std::uint8_t mode, const std::string& archive, const char* name);

  const Options& options_;
  const store::CharTables& tables_;
  const std::string folder_;
  std::vector<TimedRun> timed_;
  std::vector<AbortRuns> aborts_;
  long archive_bytes_ = 0;
};

}  // namespace orgalink::bench
