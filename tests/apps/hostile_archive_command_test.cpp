// SPDX-License-Identifier: GPL-3.0-or-later
// Archives beyond what the organizer holds, and files that are no archive
// at all, are refused by every command that reads an archive, in the same
// words: inspect and export say what is wrong (exit 1), diff cannot compare
// (exit 2), and verify and restore give "Backup file not compatible." (13)
// before they ask, print an instruction or open the port.

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

using Bytes = std::vector<std::uint8_t>;
using testsupport::RunProgram;

// One section: the application, the record count, then `records` records
// of `length` bytes each with its terminator, unless `terminated` is false
// for the last one.
Bytes Section(std::uint8_t application, std::size_t records, std::size_t length,
              bool terminated = true) {
  Bytes section = {application, static_cast<std::uint8_t>(records >> 8),
                   static_cast<std::uint8_t>(records & 0xFF)};
  for (std::size_t r = 0; r < records; ++r) {
    section.insert(section.end(), length, 'a');
    if (terminated || r + 1 < records) section.push_back(0xFF);
  }
  return section;
}

// The 9-byte header of an archive with a plain body, then the sections.
Bytes Archive(const std::vector<Bytes>& sections) {
  Bytes file = {
      'I', 'M', '2', 'B', 'K', '0', 0x02, 0x00, static_cast<std::uint8_t>(sections.size())};
  for (const Bytes& section : sections) file.insert(file.end(), section.begin(), section.end());
  return file;
}

void Write(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

constexpr std::uint8_t kMemo = 3;

struct Hostile {
  std::string name;
  Bytes file;  // empty: `path` names an existing file
  // What follows the path in every command's message.
  std::string message;
  std::string path = {};
};

std::vector<Hostile> HostileFiles() {
  const std::string json = "{\"format\": \"orgalink-archive\", \"version\": 1, \"sections\": []}";
  return {
      {"an application over 256000 bytes", Archive({Section(kMemo, 300, 1000)}),
       ": not a usable archive: section 1 of 1 (Memo): 300300 bytes, more than the 256000 an "
       "application may hold"},
      {"an unknown application number", Archive({Section(200, 1, 3)}),
       ": not a usable archive: section 1 of 1 (application 200): the organizer has no "
       "application of this number (it has 0 to 6)"},
      {"a duplicated section", Archive({Section(kMemo, 1, 3), Section(kMemo, 0, 0)}),
       ": not a usable archive: Memo occurs twice, in sections 1 and 2"},
      {"a record without its terminator", Archive({Section(kMemo, 2, 3, false)}),
       ": not a usable archive: section 1 of 1 (Memo): record 2 of 2 runs past the end of the "
       "file"},
      {"a JSON export", Bytes(json.begin(), json.end()),
       ": not a usable archive: bad magic \"{\"form\" (an archive starts with IM2BK0 or "
       "IM2BK1)"},
      {"a file that never ends", {}, " is larger than 4194304 bytes; no archive is", "/dev/zero"},
  };
}

class HostileArchiveCommandTest : public ::testing::Test {
 protected:
  HostileArchiveCommandTest() {
    std::ofstream{settings};
    Write(good, Archive({Section(kMemo, 1, 3)}));
  }

  // The options of a run against the simulated organizer, whose log exists
  // only once the port is about to open.
  std::vector<std::string> Run(std::vector<std::string> args) const {
    args.insert(args.end(), {"--port", "sim", "--log", log, "--settings", settings});
    return args;
  }

  testsupport::TempDir dir;
  std::string settings = dir.File("Orgalink.ini");
  std::string log = dir.File("comm.log");
  std::string good = dir.File("good.bkf");
};

TEST_F(HostileArchiveCommandTest, EveryCommandRefusesTheSameFilesInTheSameWords) {
  for (const Hostile& c : HostileFiles()) {
    const std::string path = c.path.empty() ? dir.File("hostile.bkf") : c.path;
    if (c.path.empty()) Write(path, c.file);
    const std::string message = path + c.message;
    const std::string incompatible = "Backup file not compatible.\nCause: " + message + ".\n";
    struct Command {
      std::vector<std::string> args;
      int exit_code;
      std::string err;  // a part of standard error
    };
    const Command commands[] = {
        {{"inspect", path}, 1, message + "\n"},
        {{"inspect", "--json", path}, 1, message + "\n"},
        {{"export", path}, 1, message + "\n"},
        {{"diff", good, path}, 2, message + "\n"},
        {{"diff", path, good}, 2, message + "\n"},
        {Run({"verify", path}), 13, incompatible},
        {Run({"restore", path, "--yes", "--no-safety-backup"}), 13, incompatible},
        {Run({"restore", path, "--yes", "--no-safety-backup", "--verify", "--app", "Memo"}), 13,
         incompatible},
    };
    for (const Command& command : commands) {
      const std::string what = c.name + ", " + command.args[0];
      const auto start = std::chrono::steady_clock::now();
      const auto result = RunProgram(ORGALINK_CLI, command.args);
      const auto took = std::chrono::steady_clock::now() - start;
      EXPECT_EQ(result.exit_code, command.exit_code) << what << ": " << result.err;
      EXPECT_NE(result.err.find(command.err), std::string::npos)
          << what << ": " << result.err << "\nwanted: " << command.err;
      EXPECT_EQ(result.err.find("PC-LINK"), std::string::npos) << what << ": " << result.err;
      EXPECT_FALSE(std::filesystem::exists(log)) << what << ": the port was opened";
      EXPECT_LT(took, std::chrono::seconds(1)) << what;
    }
  }
}

// The export of a refused archive is the way to mend it: it is written all
// the same (exit 1), and import builds nothing from it until it is mended,
// refusing it by the same limits.
TEST_F(HostileArchiveCommandTest, ARefusedArchiveIsExportedToBeMendedAndImportRefusesItAsItIs) {
  struct Case {
    Bytes file;
    std::string import_refusal;
  };
  const Case cases[] = {
      {Archive({Section(200, 1, 3)}),
       "application 200: the organizer has no application of this number (it has 0 to 6)"},
      {Archive({Section(kMemo, 300, 1000)}),
       "Memo: 300300 bytes, more than the 256000 an application may hold"},
      {Archive({Section(kMemo, 1, 3), Section(kMemo, 0, 0)}),
       "Memo occurs twice, in sections 1 and 2"},
  };
  const std::string archive = dir.File("refused.bkf");
  const std::string json = dir.File("refused.json");
  const std::string rebuilt = dir.File("rebuilt.bkf");
  for (const Case& c : cases) {
    Write(archive, c.file);
    const auto exported = RunProgram(ORGALINK_CLI, {"export", archive, "-o", json});
    EXPECT_EQ(exported.exit_code, 1) << c.import_refusal;
    EXPECT_NE(exported.err.find("exported all the same, to be mended"), std::string::npos)
        << exported.err;
    ASSERT_TRUE(std::filesystem::exists(json)) << c.import_refusal;
    const auto imported = RunProgram(ORGALINK_CLI, {"import", json, "-o", rebuilt});
    EXPECT_EQ(imported.exit_code, 1) << imported.err;
    EXPECT_EQ(imported.err, "orgalink: " + json + ": " + c.import_refusal + "\n");
    EXPECT_FALSE(std::filesystem::exists(rebuilt));
    std::filesystem::remove(json);
  }
}

}  // namespace
}  // namespace orgalink
