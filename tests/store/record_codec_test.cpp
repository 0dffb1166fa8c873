// SPDX-License-Identifier: GPL-3.0-or-later
// The character set that a record's text is decoded from, byte by byte over
// the upper half, where character sets differ and some leave bytes
// undefined; and the losslessness that a record kept whole buys.

#include "store/record_codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/charset.h"
#include "store/appli_kind.h"
#include "store/hex_text.h"

namespace orgalink::store {
namespace {

using Bytes = std::vector<std::uint8_t>;

CodeTable Identity() {
  CodeTable table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = static_cast<std::uint8_t>(0x7F + i);
  return table;
}

struct CharsetCase {
  const char* charset;
  std::uint8_t organizer;
  // What the incoming table makes of it (the outgoing table takes it back
  // when it can).
  int computer;
  // The text of the record "A", the byte, "B"; nothing when it is kept whole.
  std::optional<std::string> text;
};

const CharsetCase kCases[] = {
    {"ISO-8859-1", 0x80, 0x80, "A\u0080B"},
    {"ISO-8859-1", 0x9F, 0x9F, "A\u009FB"},
    {"ISO-8859-1", 0xA0, 0xA0, "A\u00A0B"},
    {"ISO-8859-1", 0xE9, 0xE9, "AéB"},
    {"ISO-8859-1", 0xFE, 0xFE, "AþB"},
    {"WINDOWS-1252", 0x80, 0x80, "A€B"},
    // The five bytes Windows-1252 leaves undefined.
    {"WINDOWS-1252", 0x81, 0x81, std::nullopt},
    {"WINDOWS-1252", 0x8D, 0x8D, std::nullopt},
    {"WINDOWS-1252", 0x8F, 0x8F, std::nullopt},
    {"WINDOWS-1252", 0x90, 0x90, std::nullopt},
    {"WINDOWS-1252", 0x9D, 0x9D, std::nullopt},
    {"WINDOWS-1252", 0x8A, 0x8A, "AŠB"},
    {"WINDOWS-1252", 0x9F, 0x9F, "AŸB"},
    {"WINDOWS-1252", 0xDF, 0xDF, "AßB"},
    {"CP437", 0x81, 0x81, "AüB"},
    {"CP437", 0xE1, 0xE1, "AßB"},
    // A lone lead byte is no UTF-8.
    {"UTF-8", 0xC3, 0xC3, std::nullopt},
    // The computer's 0xFF is a character in Latin-1, but no table leads
    // back from it: the record would come back with a terminator inside.
    {"ISO-8859-1", 0xFE, 0xFF, std::nullopt},
    // Tables that are not inverses: 0xE4 comes in as 'a', which goes out as
    // 'a'.
    {"ISO-8859-1", 0xE4, 'a', std::nullopt},
};

TEST(RecordCodec, DecodesTheUpperHalfByCharacterSetAndKeepsWholeWhatItCannot) {
  for (const CharsetCase& c : kCases) {
    CodeTable incoming = Identity();
    CodeTable outgoing = Identity();
    incoming[c.organizer - 0x7F] = static_cast<std::uint8_t>(c.computer);
    if (c.computer >= 0x7F && c.computer <= 0xFE) outgoing[c.computer - 0x7F] = c.organizer;
    platform::Charset charset(c.charset);
    ASSERT_TRUE(charset.IsOpen()) << c.charset;
    RecordCodec codec(incoming, outgoing, charset);
    const Bytes record = {'A', c.organizer, 'B'};
    const std::string name = std::string(c.charset) + " " + ToHex(Bytes{c.organizer});
    const ReadableRecord readable = codec.Decode(Memo, record);
    if (c.text) {
      EXPECT_TRUE(readable.readable) << name;
      EXPECT_EQ(readable.fields, std::vector<std::string>{*c.text}) << name;
    } else {
      EXPECT_FALSE(readable.readable) << name;
      EXPECT_EQ(readable.bytes, record) << name;
    }
    Bytes back;
    EXPECT_TRUE(codec.Encode(Memo, readable, back, nullptr)) << name;
    EXPECT_EQ(back, record) << name;
  }
}

// Over every byte of the upper half: readable wherever the character set
// has a character for it, and lossless either way.
TEST(RecordCodec, EveryUpperByteComesBackInEveryCharacterSet) {
  const CodeTable identity = Identity();
  for (const auto& [name, undefined] : std::vector<std::pair<const char*, Bytes>>{
           {"ISO-8859-1", {}}, {"WINDOWS-1252", {0x81, 0x8D, 0x8F, 0x90, 0x9D}}, {"CP437", {}}}) {
    platform::Charset charset(name);
    RecordCodec codec(identity, identity, charset);
    Bytes kept_whole;
    for (int byte = 0x80; byte <= 0xFE; ++byte) {
      // Telephone: the first byte is a binary field, never decoded.
      const Bytes record = {static_cast<std::uint8_t>(byte), static_cast<std::uint8_t>(byte), 0,
                            static_cast<std::uint8_t>(byte)};
      const ReadableRecord readable = codec.Decode(Telephone, record);
      if (readable.readable) {
        EXPECT_EQ(readable.prefix, Bytes{record[0]});
      } else {
        kept_whole.push_back(static_cast<std::uint8_t>(byte));
      }
      Bytes back;
      EXPECT_TRUE(codec.Encode(Telephone, readable, back, nullptr));
      EXPECT_EQ(back, record) << name << " " << byte;
    }
    EXPECT_EQ(kept_whole, undefined) << name;
  }
}

}  // namespace
}  // namespace orgalink::store
