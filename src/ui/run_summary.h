// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orgalink::ui {

// What a backup or restore that went through leaves to tell.
struct RunFacts {
  bool restore = false;
  // The archive written (its actual, possibly numbered, name) or restored.
  std::string archive;
  // Records per application number; -1 for an application not handled.
  std::array<int, 7> counts{-1, -1, -1, -1, -1, -1, -1};
  std::uint32_t elapsedMs = 0;
  // A restore's copy of the organizer's contents before it; empty for none.
  std::string safetyArchive;
  // Why the archive could not be read back for its counts; empty when it was.
  std::string readBackProblem;
  // A merge's lines per application ("Telephone: 3 kept, 1 added"), told in
  // place of the counts; empty for a backup or a plain restore.
  std::vector<std::string> mergeLines;
};

// The result of a successful run, one fact a line: where the archive is,
// each application's records in the order the organizer is walked, the time
// taken and, after a restore, where the organizer's former contents went:
//   Backup written to /home/u/20261211.bkf
//   Telephone: 24 records
//   ...
//   Time taken: 3.4 s
// An archive that could not be read back is said so in place of the counts.
// A merge says "Merged ... into the organizer" and what each application kept
// and gained.
std::string RunSummary(const RunFacts& facts);

}  // namespace orgalink::ui
