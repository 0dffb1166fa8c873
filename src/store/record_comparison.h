// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "store/store_result.h"

namespace orgalink::store {

struct ArchiveImage;

// The records of one application in the organizer's codes, each without its
// terminator: what an archive holds and what the line brings, byte for byte,
// before any conversion (which cannot be undone for every byte).
using RecordList = std::vector<std::vector<std::uint8_t>>;

// The records of a record stream (each followed by 0xFF).
RecordList SplitStream(std::span<const std::uint8_t> stream);

// An archive's sections as they lie in the file, whatever its device code.
struct ArchiveRecords {
  std::array<std::uint8_t, 2> device{};
  std::vector<std::pair<std::uint8_t, RecordList>> sections;

  // The section of `application`, or null when the archive has none.
  const RecordList* Find(std::uint8_t application) const;
};

// Reads an archive in memory. StoreOk, or the parser's result with its
// `problem`. The organizer's limits are not applied: CheckArchiveBytes
// judges the file.
StoreResult ReadArchiveRecords(std::span<const std::uint8_t> file, ArchiveRecords& archive,
                               std::string* problem);
// The same of an archive already parsed (ParseArchive, ReadArchiveFile).
void ReadArchiveRecords(const ArchiveImage& image, ArchiveRecords& archive);

// How the records of one application in `a` and `b` differ. Records are
// matched as a multiset: those left over on either side are the
// differences, given by their places (from 0) in order; when none are left
// but the order differs (and order counts), only the order differs.
struct RecordDifference {
  std::uint8_t application = 0;
  std::size_t countA = 0;
  std::size_t countB = 0;
  std::vector<std::size_t> onlyA;
  std::vector<std::size_t> onlyB;
  bool orderOnly = false;

  bool Differs() const { return orderOnly || !onlyA.empty() || !onlyB.empty(); }
};

// `anyOrder` compares the two as multisets alone (the organizer keeps
// Telephone in its own order).
RecordDifference CompareRecords(std::uint8_t application, const RecordList& a, const RecordList& b,
                                bool anyOrder);

}  // namespace orgalink::store
