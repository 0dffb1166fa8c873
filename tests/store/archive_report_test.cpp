// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/archive_report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "store/store_test_helpers.h"

namespace orgalink::store {
namespace {

using testing::Ascii;
using testing::Bytes;
using testing::Concat;
using testing::Stream;
using testing::TempDir;
using testing::WriteBytes;

struct Report {
  int exit_code;
  std::string out;
  std::string err;
};

Report Inspect(const Bytes& file, bool records) {
  CodeTable incoming;
  incoming.fill(0x20);
  incoming[0x80 - 0x7F] = 0xE9;  // the organizer's 0x80 is e acute here
  std::ostringstream out, err;
  const int code = ReportArchive(file, incoming, records, out, err);
  return {code, out.str(), err.str()};
}

// Telephone (text after 1 byte) with two records, and an empty Memo, from a
// device other than the one the restore accepts; the body is inverted.
Bytes SampleArchive() {
  Bytes body = Concat({{0x05, 0x00, 0x02},
                       Stream({{0x07, 'J', 0x80, 'r', 0x01, '\\'}, {0x08}}),
                       {0x03, 0x00, 0x00}});
  for (std::uint8_t& byte : body) byte = ~byte;
  return Concat({Ascii("IM2BK1"), {0x01, 0x00, 0x02}, body});
}

TEST(ArchiveReport, DescribesHeaderAndSections) {
  const Report report = Inspect(SampleArchive(), false);
  EXPECT_EQ(report.exit_code, 0);
  EXPECT_EQ(report.err, "");
  EXPECT_EQ(report.out,
            "magic: IM2BK1 (body inverted)\n"
            "device code: 01 00\n"
            "sections: 2\n"
            "  1. Telephone: 2 records, 9 bytes\n"
            "  2. Memo: 0 records, 0 bytes\n");
}

TEST(ArchiveReport, RecordsShowTheirTextAsUtf8) {
  const Report report = Inspect(SampleArchive(), true);
  EXPECT_EQ(report.exit_code, 0);
  EXPECT_NE(report.out.find("  1. Telephone: 2 records, 9 bytes\n"
                            "    1: J\xC3\xA9r\\x01\\\\\n"
                            "    2: \n"
                            "  2. Memo"),
            std::string::npos)
      << report.out;
}

TEST(ArchiveReport, MalformedArchivesAreNamed) {
  const struct {
    Bytes file;
    const char* message;
  } cases[] = {
      {Ascii("IM2BK0\x02"),
       "not a usable archive: the file is 7 bytes long, shorter than the 9-byte header\n"},
      {Ascii("GIF89a\x02\x00\x00"),
       "not a usable archive: bad magic \"GIF89a\" (an archive starts with IM2BK0 or IM2BK1)\n"},
      {Concat({Ascii("IM2BK0"), {0x02, 0x00, 0x01, 0x03, 0x00, 0x05, 'a', 0xFF}}),
       "not a usable archive: section 1 of 1 (Memo): record 2 of 5 runs past the end of the "
       "file\n"},
      {Concat({Ascii("IM2BK0"), {0x02, 0x00, 0x02, 0x06, 0x00, 0x00, 0x06, 0x00, 0x00}}),
       "not a usable archive: Expense Category occurs twice, in sections 1 and 2\n"},
  };
  for (const auto& c : cases) {
    const Report report = Inspect(c.file, true);
    EXPECT_EQ(report.exit_code, 1);
    EXPECT_EQ(report.err, c.message);
  }
}

TEST(ArchiveReport, InspectReadsTheFileAndItsTables) {
  TempDir dir;
  Bytes code(256, 0x20);
  code[128 + 1] = 0xE9;
  WriteBytes(dir.File("code.dat"), code);
  WriteBytes(dir.File("a.bkf"), SampleArchive());
  std::ostringstream out, err;
  EXPECT_EQ(InspectArchiveFile(dir.File("a.bkf"), dir.Dir(), true, out, err), 0);
  EXPECT_NE(out.str().find("J\xC3\xA9r"), std::string::npos);

  WriteBytes(dir.File("bad.bkf"), Ascii("IM2BK0"));
  std::ostringstream bad_out, bad_err;
  EXPECT_EQ(InspectArchiveFile(dir.File("bad.bkf"), dir.Dir(), false, bad_out, bad_err), 1);
  EXPECT_EQ(bad_err.str(), dir.File("bad.bkf") +
                               ": not a usable archive: the file is 6 bytes long, shorter than "
                               "the 9-byte header\n");

  std::ostringstream missing_out, missing_err;
  EXPECT_EQ(InspectArchiveFile(dir.File("b.bkf"), dir.Dir(), false, missing_out, missing_err), 1);
  EXPECT_EQ(missing_err.str(),
            dir.File("b.bkf") + ": cannot read the file: No such file or directory\n");
}

}  // namespace
}  // namespace orgalink::store
