#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "store/readable_record.h"
#include "store/record_codec.h"
#include "store/store_result.h"

namespace orgalink::store {

// The most bytes one application's record stream may take: what a backup
// receives of one application at most.
inline constexpr std::size_t MaxApplicationBytes = 256000;

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

// Reads an archive in memory, whatever its device code, as the inspect
// command does. StoreOk, or the parser's result with its `problem`.
StoreResult ReadArchive(std::span<const std::uint8_t> file, RecordCodec& codec,
                        ReadableArchive& archive, std::string* problem);

// "Memo occurs twice, in sections 2 and 5" for the first application held
// twice (an archive the store refuses); empty when there is none.
std::string DuplicateApplication(const ReadableArchive& archive);

// The archive file that holds `archive`, its body inverted as its magic
// says. False, with the place and what is wrong in `problem` (such as
// "Telephone, record 3, text field 2: ..."), for anything the store would not
// read back: a bad magic, more sections than an archive holds, an
// application held twice, more than 65535 records or MaxApplicationBytes in
// one application, or a record that cannot be encoded.
bool BuildArchive(const ReadableArchive& archive, RecordCodec& codec,
                  std::vector<std::uint8_t>& file, std::string* problem);

}  // namespace orgalink::store
