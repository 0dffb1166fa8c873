// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/record_codec.h"

#include <algorithm>
#include <cstdio>

#include "store/appli_kind.h"
#include "store/archive.h"
#include "store/record.h"

namespace orgalink::store {

namespace {

constexpr std::uint8_t kFirstTranslated = 0x7F;
constexpr std::uint8_t kLastTranslated = 0xFE;
constexpr std::uint8_t kFieldSeparator = 0x00;

void Translate(const CodeTable& table, std::vector<std::uint8_t>& bytes) {
  for (std::uint8_t& byte : bytes) {
    if (byte >= kFirstTranslated && byte <= kLastTranslated) byte = table[byte - kFirstTranslated];
  }
}

bool HoldsTerminator(const std::vector<std::uint8_t>& bytes) {
  return std::find(bytes.begin(), bytes.end(), RecordTerminator) != bytes.end();
}

bool Refuse(RecordProblem* problem, std::string field, std::string what) {
  if (problem != nullptr) *problem = {std::move(field), std::move(what)};
  return false;
}

// The character of UTF-8 `text` at `offset`, quoted, with its code point.
std::string CharacterAt(const std::string& text, std::size_t offset) {
  if (offset >= text.size()) return "the end of the text";
  const auto lead = static_cast<std::uint8_t>(text[offset]);
  const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  char32_t code = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length && offset + i < text.size(); ++i) {
    code = code << 6 | (static_cast<std::uint8_t>(text[offset + i]) & 0x3F);
  }
  char number[16];
  std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(code));
  return "\"" + text.substr(offset, length) + "\" (" + number + ")";
}

std::vector<std::vector<std::uint8_t>> SplitFields(const std::vector<std::uint8_t>& text) {
  std::vector<std::vector<std::uint8_t>> fields(1);
  for (const std::uint8_t byte : text) {
    if (byte == kFieldSeparator) {
      fields.emplace_back();
    } else {
      fields.back().push_back(byte);
    }
  }
  return fields;
}

ReadableRecord KeptWhole(std::span<const std::uint8_t> record) {
  ReadableRecord whole;
  whole.readable = false;
  whole.bytes.assign(record.begin(), record.end());
  return whole;
}

}  // namespace

ReadableRecord RecordCodec::Decode(std::uint8_t kind, std::span<const std::uint8_t> record) {
  const std::size_t offset = std::min<std::size_t>(TextOffset(kind), record.size());
  ReadableRecord readable;
  readable.prefix.assign(record.begin(), record.begin() + offset);
  std::vector<std::uint8_t> text(record.begin() + offset, record.end());
  Translate(incoming_, text);
  for (const std::vector<std::uint8_t>& field : SplitFields(text)) {
    std::optional<std::string> decoded = charset_.ToUtf8(field);
    if (!decoded) return KeptWhole(record);
    readable.fields.push_back(std::move(*decoded));
  }
  std::vector<std::uint8_t> again;
  const bool same = EncodeText(readable.fields, again, nullptr) &&
                    std::equal(again.begin(), again.end(), record.begin() + offset, record.end());
  return same ? readable : KeptWhole(record);
}

bool RecordCodec::Encode(std::uint8_t kind, const ReadableRecord& record,
                         std::vector<std::uint8_t>& bytes, RecordProblem* problem) {
  bytes.clear();
  if (!record.readable) {
    if (HoldsTerminator(record.bytes)) return Refuse(problem, "hex", "holds the byte FF");
    bytes = record.bytes;
  } else {
    std::vector<std::uint8_t> text;
    if (!EncodeText(record.fields, text, problem)) return false;
    const std::size_t offset = static_cast<std::size_t>(TextOffset(kind));
    // A short prefix is only the whole of a short record.
    if (record.prefix.size() > offset || (record.prefix.size() < offset && !text.empty())) {
      return Refuse(problem, "prefix",
                    std::to_string(record.prefix.size()) + " bytes, but " + ApplicationName(kind) +
                        " records have " + std::to_string(offset));
    }
    if (HoldsTerminator(record.prefix)) return Refuse(problem, "prefix", "holds the byte FF");
    bytes = record.prefix;
    bytes.insert(bytes.end(), text.begin(), text.end());
  }
  if (bytes.size() > static_cast<std::size_t>(MaxRecordLength)) {
    return Refuse(problem, "",
                  std::to_string(bytes.size()) + " bytes once encoded, more than " +
                      std::to_string(MaxRecordLength));
  }
  return true;
}

bool RecordCodec::EncodeText(const std::vector<std::string>& fields,
                             std::vector<std::uint8_t>& text, RecordProblem* problem) {
  text.clear();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::string place = "text field " + std::to_string(i + 1);
    std::size_t bad_at = 0;
    std::optional<std::vector<std::uint8_t>> encoded = charset_.FromUtf8(fields[i], &bad_at);
    if (!encoded) {
      return Refuse(problem, place,
                    CharacterAt(fields[i], bad_at) + " cannot be encoded in " + charset_.Name());
    }
    Translate(outgoing_, *encoded);
    if (HoldsTerminator(*encoded)) return Refuse(problem, place, "holds the byte FF once encoded");
    if (i > 0) text.push_back(kFieldSeparator);
    text.insert(text.end(), encoded->begin(), encoded->end());
  }
  return true;
}

}  // namespace orgalink::store
