// SPDX-License-Identifier: GPL-3.0-or-later
// The export's JSON keeps one naming style with the program's other JSON,
// and files that earlier versions exported still import as they were.

#include <gtest/gtest.h>

#include <string>

#include "exchange/archive_json.h"
#include "store/readable_archive.h"

namespace orgalink {
namespace {

// An export as earlier versions wrote it: version 1, the device code as hex
// under "device_code".
constexpr const char* kVersion1 = R"({
  "format": "orgalink-archive",
  "version": 1,
  "magic": "IM2BK1",
  "inverted": true,
  "device_code": "0201",
  "charset": "ISO-8859-1",
  "sections": [
    {"application": "Telephone", "code": 5, "records": [
      {"prefix": "01", "text": ["Adams, Anna", "+1 555 1000"]},
      {"hex": "01416E6EFE"}
    ]},
    {"application": "Memo", "records": [{"text": ["Gate code 4711"]}]}
  ]
})";

std::string Reexported(const std::string& json) {
  store::ReadableArchive archive;
  std::string charset;
  std::string problem;
  EXPECT_TRUE(exchange::ArchiveFromJson(json, archive, charset, problem)) << problem;
  std::string text;
  EXPECT_TRUE(exchange::ArchiveToJson(archive, charset, text));
  return text;
}

TEST(JsonVersions, AVersion1ExportReadsAsItsCurrentTwin) {
  const std::string current = Reexported(kVersion1);
  EXPECT_NE(current.find("\"version\": 2,"), std::string::npos) << current;
  EXPECT_NE(current.find("\"deviceCode\": [2, 1],"), std::string::npos) << current;
  EXPECT_EQ(current.find("device_code"), std::string::npos) << current;
  // The current form reads back to itself: nothing of the old file is lost
  // on the way.
  EXPECT_EQ(Reexported(current), current);
}

}  // namespace
}  // namespace orgalink
