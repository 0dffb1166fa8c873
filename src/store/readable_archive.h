// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "store/archive_limits.h"
#include "store/readable_record.h"
#include "store/record_codec.h"
#include "store/store_result.h"

namespace orgalink::store {

struct ArchiveImage;

struct ReadableSection {
  std::uint8_t application = 0;
  std::vector<ReadableRecord> records;

  bool operator==(const ReadableSection&) const = default;
};

// An archive's whole content in a form a person can read and edit; the
// sections in the archive's order.
struct ReadableArchive {
  // "IM2BK1" when the body is inverted, "IM2BK0" when not.
  std::string magic;
  std::array<std::uint8_t, 2> device{};
  std::vector<ReadableSection> sections;
  // Bytes after the last section, which readers pass over; with the body's
  // inversion undone, like the records.
  std::vector<std::uint8_t> trailing;

  bool operator==(const ReadableArchive&) const = default;
};

// Reads an archive in memory, whatever its device code. StoreOk, or the
// parser's result with its `problem`. The organizer's limits are not
// applied: CheckArchiveBytes judges the file.
StoreResult ReadArchive(std::span<const std::uint8_t> file, RecordCodec& codec,
                        ReadableArchive& archive, std::string* problem);
// The same of an archive already parsed (ParseArchive, ReadArchiveFile).
void ReadArchive(const ArchiveImage& image, RecordCodec& codec, ReadableArchive& archive);

// "Memo occurs twice, in sections 2 and 5" for the first application held
// twice (an archive the store refuses); empty when there is none.
std::string DuplicateApplication(const ReadableArchive& archive);

// The archive file that holds `archive`, its body inverted as its magic
// says. False, with the place and what is wrong in `problem` (such as
// "Telephone, record 3, text field 2: ..."), for anything the store would not
// read back: a bad magic, a record that cannot be encoded, or anything
// beyond the organizer's limits (archive_limits.h): more sections than an
// archive holds, an application it does not have or held twice, more than
// 65535 records or MaxApplicationBytes in one application.
bool BuildArchive(const ReadableArchive& archive, RecordCodec& codec,
                  std::vector<std::uint8_t>& file, std::string* problem);

}  // namespace orgalink::store
