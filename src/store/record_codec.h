// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/charset.h"
#include "store/code_tables.h"
#include "store/readable_record.h"

namespace orgalink::store {

// What makes a readable record unfit for an archive: the field at fault
// ("text field 2", "prefix", "hex"; empty for the record as a whole) and
// what is wrong with it.
struct RecordProblem {
  std::string field;
  std::string what;
};

// Turns records in the organizer's codes into readable ones and back. The
// text part goes through the incoming table into the computer's codes and
// is then decoded from `charset`; encoding runs the same steps backwards
// (the outgoing table, and nothing else: no clean-up of codes the organizer
// cannot show, so that what was read is written back as it was).
class RecordCodec {
 public:
  RecordCodec(const CodeTable& incoming, const CodeTable& outgoing, platform::Charset& charset)
      : incoming_(incoming), outgoing_(outgoing), charset_(charset) {}

  // A record of application `kind`, without its terminator. Readable only
  // when encoding the result gives back exactly `record`.
  ReadableRecord Decode(std::uint8_t kind, std::span<const std::uint8_t> record);

  // The record's bytes in the organizer's codes, without terminator. False
  // when it cannot be an archive's record of `kind`, with what is wrong in
  // `problem`.
  bool Encode(std::uint8_t kind, const ReadableRecord& record, std::vector<std::uint8_t>& bytes,
              RecordProblem* problem);

  const CodeTable& Incoming() const { return incoming_; }
  const platform::Charset& Charset() const { return charset_; }

 private:
  bool EncodeText(const std::vector<std::string>& fields, std::vector<std::uint8_t>& text,
                  RecordProblem* problem);

  const CodeTable& incoming_;
  const CodeTable& outgoing_;
  platform::Charset& charset_;
};

}  // namespace orgalink::store
