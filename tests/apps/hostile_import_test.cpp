// SPDX-License-Identifier: GPL-3.0-or-later
// import against hostile JSON through the real program: each input ends
// with exit 1, one short line naming its place, and no archive, however
// deep, large or endless the input is.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::RunProgram;

std::string Head(const std::string& format = "\"orgalink-archive\"",
                 const std::string& version = "1") {
  return "{\"format\": " + format + ", \"version\": " + version +
         ", \"magic\": \"IM2BK0\", \"device_code\": \"0200\", ";
}

const std::string kMemo = "{\"application\": \"Memo\", \"records\": [{\"text\": [\"Gate\"]}]}";

TEST(HostileImport, EachEndsWithItsPlaceInOneShortLineAndNoArchive) {
  const std::string deep = std::string(100'000, '[') + std::string(100'000, ']');
  const struct {
    std::string json;
    std::string start;
  } cases[] = {
      {Head(deep) + "\"sections\": []}", "format[0][0]"},
      {Head("\"orgalink-archive\"", deep) + "\"sections\": []}", "version[0][0]"},
      {Head() + "\"sections\": " + deep + "}", "sections[0][0]"},
      {Head() + "\"sections\": [" + kMemo + "], \"sections\": []}",
       "sections (line 1, column 169): the key occurs twice"},
      {Head() + "\"sections\": [{\"application\": \"Memo\", \"records\": [{\"text\": "
                "[\"a\\u0000b\"]}]}]}",
       "sections[0].records[0].text[0] (line 1, column 156): the text \"a\\u0000b\""},
      {Head() + "\"sections\": []}\n]", "malformed JSON: parse error at line 2, column 1"},
      {Head() + "\"sections\": []}" + std::string(3, '\0'),
       "malformed JSON: line 1, column 103: a zero byte"},
      {Head("\"orgalink-archive\"", "1e400") + "\"sections\": []}",
       "line 1, column 43: the number \"1e400\" is too large"},
      {Head("\"" + std::string(1'000'000, 'x') + "\"") + "\"sections\": []}",
       "format: \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\"... (1000000 bytes) is not"},
      {Head() + "\"charset\": \"" + std::string(1'000'000, 'x') + "\", \"sections\": []}",
       "charset: unknown character set \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\"... (1000000 "
       "bytes)\n"},
      {Head() + "\"trailing\": \"" + std::string(10'000'000, 'x') + "\"}",
       "line 1, column 1048677: a string longer than 1 MiB, far more than any field of an "
       "export\n"},
  };
  testsupport::TempDir dir;
  const std::string input = dir.File("in.json");
  const std::string archive = dir.File("out.bkf");
  for (const auto& c : cases) {
    std::ofstream(input, std::ios::binary) << c.json;
    const auto result = RunProgram(ORGALINK_CLI, {"import", input, "-o", archive});
    EXPECT_EQ(result.exit_code, 1) << c.start;
    const std::string expected = "orgalink: " + input + ": " + c.start;
    EXPECT_EQ(result.err.substr(0, expected.size()), expected);
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    EXPECT_LT(result.err.size(), 300u + input.size());
    EXPECT_FALSE(std::filesystem::exists(archive)) << c.start;
  }
}

// A file larger than any export is refused before it is read, and a device
// that never ends is refused at once, from a path or from standard input.
TEST(HostileImport, AnEndlessOrHugeInputEndsAtOnce) {
  testsupport::TempDir dir;
  const std::string huge = dir.File("huge.json");
  std::ofstream(huge) << "{";
  std::filesystem::resize_file(huge, std::uintmax_t{65} << 20);
  const std::string archive = dir.File("out.bkf");
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"import", huge, "-o", archive},
       "orgalink: " + huge + ": larger than 64 MiB, far more than the export of any archive\n"},
      {{"import", "/dev/zero", "-o", archive},
       "orgalink: /dev/zero: malformed JSON: line 1, column 1: a zero byte, which JSON text "
       "never holds\n"},
      {{"-c", std::string("exec '") + ORGALINK_CLI + "' import - -o '" + archive + "' </dev/zero"},
       "orgalink: -: malformed JSON: line 1, column 1: a zero byte, which JSON text never holds\n"},
  };
  for (const auto& c : cases) {
    const auto started = std::chrono::steady_clock::now();
    const auto result =
        c.args[0] == "-c" ? RunProgram("/bin/sh", c.args) : RunProgram(ORGALINK_CLI, c.args);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err, c.err);
    EXPECT_FALSE(std::filesystem::exists(archive));
  }
}

}  // namespace
}  // namespace orgalink
