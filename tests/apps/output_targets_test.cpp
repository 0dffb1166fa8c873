// SPDX-License-Identifier: GPL-3.0-or-later
// Where -o and standard output lead: a FIFO, a symbolic link and /dev/null
// stay what they are (the FIFO's reader and the link's target get the
// bytes); a full device, a file too large for its writer and a standard
// output that fails are told with the system's cause, leave no partial file
// and never exit 0.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using testsupport::ReadFile;
using testsupport::RunProgram;

const std::string kSample = std::string(ORGALINK_SOURCE_DIR) + "/data/sample_organizer.bkf";

// What export and import write of the sample, and the command that writes it to `output`.
struct Output {
  std::string name;
  std::string bytes;
  std::vector<std::string> (*args)(const std::string& json, const std::string& output);
};

std::vector<std::string> Export(const std::string&, const std::string& output) {
  return {"export", kSample, "-o", output};
}

std::vector<std::string> Import(const std::string& json, const std::string& output) {
  return {"import", json, "-o", output};
}

// Reads a FIFO to its end on a thread of its own, as a program at its other
// end would.
class FifoReader {
 public:
  explicit FifoReader(std::string path)
      : path_(std::move(path)), thread_([this] {
          std::ifstream in(path_, std::ios::binary);
          got_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }) {}
  // The bytes; a reader still waiting for a writer (the program failed
  // before it opened the FIFO) is let go with nothing.
  std::string Finish() {
    const int writer = open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (writer >= 0) close(writer);
    thread_.join();
    return got_;
  }

 private:
  std::string path_;
  std::string got_;
  std::thread thread_;
};

class OutputTargetsTest : public ::testing::Test {
 protected:
  OutputTargetsTest() {
    const auto exported = RunProgram(ORGALINK_CLI, {"export", kSample});
    EXPECT_EQ(exported.exit_code, 0) << exported.err;
    std::ofstream(json, std::ios::binary) << exported.out;
    outputs = {{"export", exported.out, Export}, {"import", ReadFile(kSample), Import}};
  }

  testsupport::TempDir dir;
  std::string json = dir.File("sample.json");
  std::vector<Output> outputs;
};

TEST_F(OutputTargetsTest, AFifoALinkAndDevNullStayWhatTheyAre) {
  for (const Output& output : outputs) {
    SCOPED_TRACE(output.name);
    const std::string fifo = dir.File(output.name + ".fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    FifoReader reader(fifo);
    const auto to_fifo = RunProgram(ORGALINK_CLI, output.args(json, fifo));
    EXPECT_EQ(to_fifo.exit_code, 0) << to_fifo.err;
    EXPECT_EQ(reader.Finish(), output.bytes);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));

    const std::string target = dir.File(output.name + ".target");
    const std::string link = dir.File(output.name + ".link");
    std::ofstream(target) << "old";
    std::filesystem::create_symlink(output.name + ".target", link);
    const auto to_link = RunProgram(ORGALINK_CLI, output.args(json, link));
    EXPECT_EQ(to_link.exit_code, 0) << to_link.err;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(std::filesystem::read_symlink(link), output.name + ".target");
    EXPECT_EQ(ReadFile(target), output.bytes);

    const auto to_null = RunProgram(ORGALINK_CLI, output.args(json, "/dev/null"));
    EXPECT_EQ(to_null.exit_code, 0) << to_null.err;
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
  }
}

// A file size limit (ulimit -f, with SIGXFSZ ignored) makes a write fail
// part way, as a full disk does, without filling one.
TEST_F(OutputTargetsTest, AFailedWriteIsToldWithItsCauseAndLeavesNoPartialFile) {
  for (const Output& output : outputs) {
    SCOPED_TRACE(output.name);
    const auto full = RunProgram(ORGALINK_CLI, output.args(json, "/dev/full"));
    EXPECT_EQ(full.exit_code, 1);
    EXPECT_EQ(full.err, "orgalink: cannot write /dev/full: No space left on device\n");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));

    testsupport::TempDir folder;
    const std::string kept = folder.File("kept");
    std::ofstream(kept) << "old";
    std::string command = std::string("trap '' XFSZ; ulimit -f 4; exec '") + ORGALINK_CLI + "'";
    for (const std::string& arg : output.args(json, kept)) command += " '" + arg + "'";
    const auto limited = RunProgram("/bin/sh", {"-c", command});
    EXPECT_EQ(limited.exit_code, 1);
    EXPECT_NE(limited.err.find("File too large"), std::string::npos) << limited.err;
    EXPECT_EQ(ReadFile(kept), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
  }
}

// Every command whose results go to standard output fails when they cannot
// be written there.
TEST_F(OutputTargetsTest, AStandardOutputThatFailsIsNeverASuccess) {
  const std::string settings = dir.File("Orgalink.ini");
  std::ofstream(settings) << "[Settings]\nCOMPort=1\n";
  const std::vector<std::vector<std::string>> commands = {
      {"export", kSample},
      {"export", "--format", "text", kSample},
      {"inspect", kSample},
      {"inspect", "--records", kSample},
      {"inspect", "--json", kSample},
      {"ports", "--settings", settings},
      {"ports", "--json", "--settings", settings},
      {"import", json, "-o", dir.File("out.bkf")},
  };
  for (const auto& args : commands) {
    std::string command = std::string("exec '") + ORGALINK_CLI + "'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    const auto result = RunProgram("/bin/sh", {"-c", command + " >/dev/full"});
    EXPECT_EQ(result.exit_code, 1) << command;
    EXPECT_NE(result.err.find("orgalink: cannot write standard output: No space left on device\n"),
              std::string::npos)
        << command << ": " << result.err;
  }
}

}  // namespace
}  // namespace orgalink
