// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "store/code_tables.h"
#include "store/record_comparison.h"

namespace orgalink::store {

// A record that only one of two archives holds: its place in that archive
// (from 0) and its text fields as inspect --records shows them.
struct DiffRecord {
  std::size_t place = 0;
  std::vector<std::string> fields;
};

// How one application differs between two archives A and B: the records
// only in A are removed, those only in B added.
struct ApplicationDiff {
  RecordDifference difference;
  std::vector<DiffRecord> removed;
  std::vector<DiffRecord> added;
};

// What differs between the records of two archives: every application
// either holds, FullOrder first, and the device codes. The inversion of the
// body is no difference.
struct ArchiveDiff {
  std::array<std::uint8_t, 2> deviceA{};
  std::array<std::uint8_t, 2> deviceB{};
  std::vector<ApplicationDiff> applications;

  // Whether any records differ (a device code alone does not count).
  bool Differs() const;
};

// Compares two archives in memory; false when either is no archive the
// organizer could take (CheckArchiveBytes).
bool DiffArchives(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                  const CodeTable& incoming, ArchiveDiff& diff);

// DiffArchives of two files, with the incoming table of the "code.dat" in
// `table_directory`; false, with ReadArchiveFile's message on `err`, when
// either file cannot be read or is no archive the organizer could take.
bool DiffArchiveFiles(const std::string& a, const std::string& b,
                      const std::string& table_directory, ArchiveDiff& diff, std::ostream& err);

// Prints `diff` like diff(1), the archives named `nameA` and `nameB`: a
// line for a device code that differs; then for each application that
// differs its record counts in both, and the records only in A as "-" lines
// and those only in B as "+" lines, or a line saying that only their order
// differs. With `summary` one line per application that differs instead,
// with how many records were added and removed, or that their order changed.
void PrintArchiveDiff(const ArchiveDiff& diff, const std::string& nameA, const std::string& nameB,
                      bool summary, std::ostream& out);

// The exit status of a diff: 0 when the records are the same, 1 when they
// differ.
inline int DiffExitStatus(const ArchiveDiff& diff) {
  return diff.Differs() ? 1 : 0;
}

}  // namespace orgalink::store
