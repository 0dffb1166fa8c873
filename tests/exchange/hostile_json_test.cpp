// SPDX-License-Identifier: GPL-3.0-or-later
// A JSON text made to break the import: nesting deep enough to exhaust a
// recursive reader, keys given twice, a zero inside a field, bytes after
// the text, numbers beyond a double and values far too long to echo. Each is
// refused with its place, in a message of one short line.

#include <gtest/gtest.h>

#include <string>

#include "exchange/archive_json.h"
#include "exchange/json_document.h"
#include "exchange/json_input.h"
#include "store/readable_archive.h"

namespace orgalink {
namespace {

std::string Head(const std::string& format = "\"orgalink-archive\"",
                 const std::string& version = "1") {
  return "{\"format\": " + format + ",\n \"version\": " + version +
         ",\n \"magic\": \"IM2BK0\", \"device_code\": \"0200\",\n";
}

std::string Archive(const std::string& sections) {
  return Head() + " \"sections\": [" + sections + "]}";
}

const std::string kMemo =
    "{\"application\": \"Memo\", \"records\": [{\"text\": [\"Gate\"]}, {\"text\": [\"a\", "
    "\"b\"]}]}";

std::string ManyZeros(std::size_t count) {
  std::string list = "[";
  for (std::size_t i = 1; i < count; ++i) list += "0,";
  return list + "0]";
}

std::string Nested(std::size_t depth) {
  return std::string(depth, '[') + std::string(depth, ']');
}

std::string Refusal(std::string_view json) {
  store::ReadableArchive archive;
  std::string charset, problem;
  EXPECT_FALSE(exchange::ArchiveFromJson(json, archive, charset, problem)) << json.substr(0, 80);
  EXPECT_LT(problem.size(), 300u) << problem.substr(0, 400);
  return problem;
}

TEST(HostileJson, EachIsRefusedWithItsPlaceInOneShortLine) {
  const std::string deep = Nested(100'000);
  const std::string huge(1'000'000, 'x');
  const struct {
    std::string json;
    std::string problem;
  } cases[] = {
      {Head(deep) + " \"sections\": []}",
       "format[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0] (line 1, column 27): nested deeper "
       "than 16 levels"},
      {Head("\"orgalink-archive\"", deep) + " \"sections\": []}",
       "version[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0] (line 2, column 28): nested "
       "deeper than 16 levels"},
      {Archive(deep),
       "sections[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0] (line 4, column 29): nested "
       "deeper than 16 levels"},
      {Head() + " \"sections\": [" + kMemo + "],\n \"sections\": []}",
       "sections (line 5, column 11): the key occurs twice in its object"},
      {Head() + " \"magic\": \"IM2BK1\", \"sections\": []}",
       "magic (line 4, column 8): the key occurs twice in its object"},
      {Archive("{\"application\": \"Memo\", \"records\": [{\"text\": [\"Gate\"]}, "
               "{\"text\": [\"a\", \"b\\u0000c\"]}]}"),
       "sections[0].records[1].text[1] (line 4, column 95): the text \"b\\u0000c\" holds a zero "
       "character (\\u0000), which would end its field there"},
      {Archive(kMemo) + "\n{}",
       "malformed JSON: parse error at line 5, column 1: syntax error while parsing value - "
       "unexpected '{'; expected end of input"},
      {Archive(kMemo) + std::string(1, '\0') + "{}",
       "malformed JSON: line 4, column 95: a zero byte, which JSON text never holds"},
      {Head("\"orgalink-archive\"", "1e400") + " \"sections\": []}",
       "line 2, column 13: the number \"1e400\" is too large"},
      {Head("\"" + huge + "\"") + " \"sections\": []}",
       "format: \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\"... (1000000 bytes) is not "
       "\"orgalink-archive\""},
      {"{\"format\": \"orgalink-archive\", \"version\": 1, \"magic\": \"" + huge +
           "\", \"device_code\": \"0200\", \"sections\": []}",
       "magic: \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\"... (1000000 bytes) is not an archive's "
       "magic (IM2BK0 or IM2BK1)"},
      {Head("\"orgalink-archive\"", "\"" + huge + "\"") + " \"sections\": []}",
       "version: \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\"... (1000000 bytes) is not known "
       "(this program reads versions 1 to 2)"},
      {"{\"format\": \"" + std::string(2 << 20, 'x') + "\"}",
       "line 1, column 1048589: a string longer than 1 MiB, far more than any field of an "
       "export"},
      {"{\"format\": \"" + huge,
       "malformed JSON: parse error at line 1, column 1000013: syntax error while parsing "
       "value - invalid string: missing closing quote; last read: "
       "\"\\\"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\"... (1000001 bytes)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Refusal(c.json), c.problem);
  }
}

// Past the bound the reading stops, however the text goes on.
TEST(HostileJson, AnEndlessTextStopsAtTheBound) {
  std::size_t handed = 0;
  exchange::JsonInput spaces(
      [&](char* buffer, std::size_t size) {
        std::fill_n(buffer, size, ' ');
        handed += size;
        return std::optional<std::size_t>(size);
      },
      std::size_t{1} << 20);
  nlohmann::json document;
  std::string problem;
  EXPECT_FALSE(exchange::ReadJsonDocument(spaces, document, problem));
  EXPECT_EQ(problem, "larger than 1 MiB, far more than the export of any archive");
  EXPECT_LE(handed, (std::size_t{1} << 20) + 1);
}

// A text of many small values would cost many times its size as a
// document: past the bound (a small one here) it is refused, at the value
// that goes past it, even where that value ends the chunk the input was
// read in.
TEST(HostileJson, ManyValuesAreRefusedPastTheBound) {
  const std::string zeros = ManyZeros(40'000);
  const struct {
    std::size_t bound;
    std::string problem;
  } cases[] = {
      {999, "[998] (line 1, column 1998): more than 999 values, far more than any export holds"},
      {32'768,
       "[32767] (line 1, column 65536): more than 32768 values, far more than any export holds"},
      // The list itself is a value too.
      {40'001, ""},
  };
  for (const auto& c : cases) {
    std::size_t offset = 0;
    exchange::JsonInput input([&](char* buffer, std::size_t size) {
      const std::size_t count = std::min(size, zeros.size() - offset);
      std::copy_n(zeros.data() + offset, count, buffer);
      offset += count;
      return std::optional<std::size_t>(count);
    });
    nlohmann::json document;
    std::string problem;
    EXPECT_EQ(exchange::ReadJsonDocument(input, document, problem, c.bound), c.problem.empty());
    EXPECT_EQ(problem, c.problem);
  }
}

// Nesting and keys as an export writes them still read.
TEST(HostileJson, AnExportsShapeIsAccepted) {
  store::ReadableArchive archive;
  std::string charset, problem;
  ASSERT_TRUE(exchange::ArchiveFromJson(Archive(kMemo), archive, charset, problem)) << problem;
  ASSERT_EQ(archive.sections.size(), 1u);
  EXPECT_EQ(archive.sections[0].records.at(1).fields, (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace orgalink
