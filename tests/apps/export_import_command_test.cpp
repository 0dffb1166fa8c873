// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink export and import: the sample through JSON and back, an edit that
// changes exactly its record, and the inputs import refuses.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::ReadFile;
using testsupport::RunProgram;

const std::string kSample = std::string(ORGALINK_SOURCE_DIR) + "/data/sample_organizer.bkf";

void WriteText(const std::string& path, const std::string& text) {
  testsupport::WriteBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// The lines of `inspect --records` that differ between two archives.
std::vector<std::string> DifferingRecords(const std::string& one, const std::string& other) {
  const auto lines = [](const std::string& archive) {
    const std::string out = RunProgram(ORGALINK_CLI, {"inspect", "--records", archive}).out;
    std::vector<std::string> split;
    for (std::size_t start = out.find('\n') + 1; start < out.size();) {
      const std::size_t end = out.find('\n', start);
      split.push_back(out.substr(start, end - start));
      start = end + 1;
    }
    return split;
  };
  const std::vector<std::string> a = lines(one), b = lines(other);
  std::vector<std::string> differing;
  EXPECT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] != b[i]) differing.push_back(a[i] + " -> " + b[i]);
  }
  return differing;
}

TEST(ExportImportCommand, TheSampleComesBackIdenticalAndAnEditChangesOnlyItsRecord) {
  testsupport::TempDir dir;
  const auto exported = RunProgram(ORGALINK_CLI, {"export", kSample});
  ASSERT_EQ(exported.exit_code, 0) << exported.err;
  EXPECT_NE(exported.out.find("\"Müller, Karin\", \"+1 555 1740\""), std::string::npos);
  WriteText(dir.File("sample.json"), exported.out);

  const auto imported =
      RunProgram(ORGALINK_CLI, {"import", dir.File("sample.json"), "-o", dir.File("same.bkf")});
  ASSERT_EQ(imported.exit_code, 0) << imported.err;
  EXPECT_NE(imported.out.find("Telephone: 24 records"), std::string::npos) << imported.out;
  EXPECT_EQ(ReadFile(dir.File("same.bkf")), ReadFile(kSample));

  std::string edited = exported.out;
  edited.replace(edited.find("+1 555 1740"), 11, "+1 555 0000");
  WriteText(dir.File("edited.json"), edited);
  ASSERT_EQ(
      RunProgram(ORGALINK_CLI, {"import", dir.File("edited.json"), "-o", dir.File("edited.bkf")})
          .exit_code,
      0);
  EXPECT_EQ(DifferingRecords(kSample, dir.File("edited.bkf")),
            std::vector<std::string>{
                "    22: Müller, Karin | +1 555 1740 | North Bank | Karin.Mueller@example.com"
                " ->     22: Müller, Karin | +1 555 0000 | North Bank | Karin.Mueller@"
                "example.com"});
}

TEST(ExportImportCommand, ScrambleInvertsTheBodyAndTheTextFormatShowsOneFieldALine) {
  testsupport::TempDir dir;
  ASSERT_EQ(RunProgram(ORGALINK_CLI, {"export", kSample, "-o", dir.File("sample.json")}).exit_code,
            0);
  ASSERT_EQ(RunProgram(ORGALINK_CLI, {"import", dir.File("sample.json"), "-o",
                                      dir.File("inverted.bkf"), "--scramble", "1"})
                .exit_code,
            0);
  const std::string inverted = ReadFile(dir.File("inverted.bkf"));
  EXPECT_EQ(inverted.substr(0, 6), "IM2BK1");
  // The magic alone decides from now on.
  const auto again = RunProgram(ORGALINK_CLI, {"export", dir.File("inverted.bkf")});
  EXPECT_NE(again.out.find("\"inverted\": true"), std::string::npos);
  WriteText(dir.File("inverted.json"), again.out);
  ASSERT_EQ(RunProgram(ORGALINK_CLI,
                       {"import", dir.File("inverted.json"), "-o", dir.File("inverted2.bkf")})
                .exit_code,
            0);
  EXPECT_EQ(ReadFile(dir.File("inverted2.bkf")), inverted);

  const auto text = RunProgram(ORGALINK_CLI, {"export", "--format", "text", kSample});
  EXPECT_EQ(text.exit_code, 0);
  EXPECT_NE(text.out.find("record 22\nprefix: 01\nMüller, Karin\n+1 555 1740\nNorth Bank\n"),
            std::string::npos);
}

std::string Json(const std::string& sections, const std::string& version = "1") {
  return "{\"format\": \"orgalink-archive\", \"version\": " + version +
         ", \"magic\": \"IM2BK0\", \"device_code\": \"0200\", \"sections\": [" + sections + "]}";
}

std::string Version2(const std::string& deviceCode) {
  return "{\"format\": \"orgalink-archive\", \"version\": 2, \"magic\": \"IM2BK0\", " + deviceCode +
         ", \"sections\": []}";
}

std::string Memo(const std::string& records) {
  return "{\"application\": \"Memo\", \"code\": 3, \"records\": [" + records + "]}";
}

std::string Telephone(const std::string& record) {
  return "{\"application\": \"Telephone\", \"code\": 5, \"records\": [" + record + "]}";
}

std::string ManyLongMemos(int count) {
  std::string records;
  for (int i = 0; i < count; ++i) {
    records +=
        (i == 0 ? "" : ",") + std::string("{\"text\": [\"") + std::string(1023, 'x') + "\"]}";
  }
  return Memo(records);
}

// A place the archive cannot go is told as the command line tells every
// write failure: a folder with no room to be found out under the generic
// message and its cause, a file step that fails by the system's reason.
TEST(ExportImportCommand, AnArchiveThatCannotBeWrittenIsToldWithItsCause) {
  testsupport::TempDir dir;
  const auto exported = RunProgram(ORGALINK_CLI, {"export", kSample});
  ASSERT_EQ(exported.exit_code, 0) << exported.err;
  WriteText(dir.File("sample.json"), exported.out);
  std::filesystem::create_directory(dir.File("folder"));
  const struct {
    std::string archive;
    std::string err;
  } cases[] = {
      {dir.File("no/such/x.bkf"), "orgalink: cannot write " + dir.File("no/such/x.bkf") +
                                      ": Write file error.\nCause: " + dir.File("no/such") +
                                      ": No such file or directory.\n"},
      {dir.File("folder"), "orgalink: cannot write " + dir.File("folder") + ": Is a directory\n"},
  };
  for (const auto& c : cases) {
    const auto result =
        RunProgram(ORGALINK_CLI, {"import", dir.File("sample.json"), "-o", c.archive});
    EXPECT_EQ(result.exit_code, 1) << c.archive;
    EXPECT_EQ(result.err, c.err);
  }
}

TEST(ExportImportCommand, BadInputIsRefusedWithItsPlaceAndNothingIsWritten) {
  struct Case {
    std::string json;
    std::string message;
    std::vector<std::string> options = {};
  };
  const Case cases[] = {
      {"{\"format\": \"orgalink-archive\",\n  \"version\": 1,\n  oops}",
       "malformed JSON: parse error at line 3, column 3"},
      {Json("{\"application\": \"Notes\", \"code\": 9, \"records\": []}"),
       "section 1: unknown application \"Notes\""},
      {Json("{\"application\": \"Memo\", \"code\": 4, \"records\": []}"),
       "section 1 (Memo): code 4 is not Memo's (3)"},
      {Json(Memo("") + "," + Memo("")), "Memo occurs twice, in sections 1 and 2"},
      {Json(Memo("{\"text\": [\"\"]}, {\"text\": [\"" + std::string(1024, 'x') + "\"]}")),
       "Memo, record 2: 1024 bytes once encoded, more than 1023"},
      {Json(Memo("{\"text\": [\"ÿ\"]}")),
       "Memo, record 1, text field 1: holds the byte FF once encoded"},
      {Json(Memo("{\"text\": [\"\"]}, {\"hex\": \"41FF\"}")),
       "Memo, record 2, hex: holds the byte FF"},
      {Json(ManyLongMemos(251)),
       "Memo: 257024 bytes, more than the 256000 an application may hold"},
      {Json(Telephone("{\"prefix\": \"01\", \"text\": [\"Euro\", \"5 €\"]}")),
       "Telephone, record 1, text field 2: \"€\" (U+20AC) cannot be encoded in ISO-8859-1"},
      {Json(Telephone("{\"prefix\": \"01\", \"text\": [\"Ω\"]}")),
       "Telephone, record 1, text field 1: \"Ω\" (U+03A9) cannot be encoded in WINDOWS-1252",
       {"--charset", "WINDOWS-1252"}},
      {Json(Telephone("{\"prefix\": \"0102\", \"text\": [\"Ann\"]}")),
       "Telephone, record 1, prefix: 2 bytes, but Telephone records have 1"},
      {Json(Telephone("{\"prefix\": \"0G\", \"text\": [\"Ann\"]}")),
       "Telephone, record 1, prefix: \"0G\" is not hex (two digits a byte)"},
      {Json(Telephone("{\"prefix\": \"01\", \"text\": \"Ann\"}")),
       "Telephone, record 1, text: a list is expected, not \"Ann\""},
      {Json(Telephone("{\"prefix\": \"01\", \"txt\": [\"Ann\"]}")),
       "Telephone, record 1: unknown key \"txt\""},
      {Json(Memo(""), "3"), "version: 3 is not known (this program reads versions 1 to 2)"},
      // The current version spells its keys as the program's other JSON does.
      {Version2("\"device_code\": \"0200\""), "unknown key \"device_code\""},
      {Version2("\"deviceCode\": [2, 256]"), "deviceCode: 256 is not a byte (0 to 255)"},
      {Version2("\"deviceCode\": \"0200\""), "deviceCode: a list is expected, not \"0200\""},
  };
  testsupport::TempDir dir;
  const std::string archive = dir.File("kept.bkf");
  const std::string before = ReadFile(kSample);
  WriteText(archive, before);
  for (const Case& c : cases) {
    WriteText(dir.File("in.json"), c.json);
    std::vector<std::string> args = {"import", dir.File("in.json"), "-o", archive};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const auto result = RunProgram(ORGALINK_CLI, args);
    EXPECT_EQ(result.exit_code, 1) << c.message;
    const std::string expected = "orgalink: " + dir.File("in.json") + ": " + c.message;
    EXPECT_EQ(result.err.substr(0, expected.size()), expected);
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    EXPECT_EQ(ReadFile(archive), before) << c.message;
  }
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    ++files;
  }
  EXPECT_EQ(files, 2u) << "no temporary file is left behind";
  const auto unknown = RunProgram(ORGALINK_CLI, {"export", "--charset", "NO-SUCH-SET", kSample});
  EXPECT_EQ(unknown.exit_code, 2);
  EXPECT_EQ(unknown.err, "orgalink: unknown character set \"NO-SUCH-SET\"\n");
}

}  // namespace
}  // namespace orgalink
