// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/record_comparison.h"

#include <map>

#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/record.h"

namespace orgalink::store {

namespace {

using Counts = std::map<std::vector<std::uint8_t>, std::size_t>;

Counts CountOf(const RecordList& records) {
  Counts counts;
  for (const auto& record : records) ++counts[record];
  return counts;
}

// The places of the records of `records` that `other` cannot match.
std::vector<std::size_t> LeftOver(const RecordList& records, Counts other) {
  std::vector<std::size_t> left;
  for (std::size_t i = 0; i < records.size(); ++i) {
    auto match = other.find(records[i]);
    if (match != other.end() && match->second > 0) {
      --match->second;
    } else {
      left.push_back(i);
    }
  }
  return left;
}

}  // namespace

RecordList SplitStream(std::span<const std::uint8_t> stream) {
  RecordList records;
  std::vector<std::uint8_t> record;
  for (const std::uint8_t byte : stream) {
    if (byte != RecordTerminator) {
      record.push_back(byte);
      continue;
    }
    records.push_back(std::move(record));
    record.clear();
  }
  return records;
}

const RecordList* ArchiveRecords::Find(std::uint8_t application) const {
  for (const auto& [held, records] : sections) {
    if (held == application) return &records;
  }
  return nullptr;
}

StoreResult ReadArchiveRecords(std::span<const std::uint8_t> file, ArchiveRecords& archive,
                               std::string* problem) {
  ArchiveImage image;
  const StoreResult parsed = ParseArchive(file, nullptr, ArchiveSlots, image, problem);
  if (parsed != StoreOk) return parsed;
  ReadArchiveRecords(image, archive);
  return StoreOk;
}

void ReadArchiveRecords(const ArchiveImage& image, ArchiveRecords& archive) {
  archive.device = image.device;
  archive.sections.clear();
  for (const ArchiveSection& section : image.sections) {
    const std::span<const std::uint8_t> stream(image.body.data() + section.offset, section.length);
    archive.sections.emplace_back(section.application, SplitStream(stream));
  }
}

RecordDifference CompareRecords(std::uint8_t application, const RecordList& a, const RecordList& b,
                                bool anyOrder) {
  RecordDifference difference;
  difference.application = application;
  difference.countA = a.size();
  difference.countB = b.size();
  difference.onlyA = LeftOver(a, CountOf(b));
  difference.onlyB = LeftOver(b, CountOf(a));
  difference.orderOnly =
      !anyOrder && difference.onlyA.empty() && difference.onlyB.empty() && a != b;
  return difference;
}

}  // namespace orgalink::store
