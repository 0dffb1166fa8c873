// SPDX-License-Identifier: GPL-3.0-or-later
// The log file format under an injected clock.

#include "link/comm_log.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/clock.h"
#include "support/temp_dir.h"

namespace orgalink::link {
namespace {

class CommLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLogTimeReference();
    clock.SetLocalTime("31/12/26 23:59:58");
    log.SetFileName(path);
  }
  // Read while the log still holds the file: every entry is there already.
  std::string Text() const { return testsupport::ReadFile(path); }

  testsupport::TempDir dir;
  std::string path = dir.File("comm.log");
  platform::VirtualClock clock{5000};
  CommLog log{clock};
};

TEST_F(CommLogTest, FirstEntryIsStampedAbsolutelyThenElapsed) {
  ASSERT_EQ(log.Line("##### START COMMUNICATION #####\n\n", false), 1);
  clock.Advance(1234);
  const std::uint8_t link_request[] = {0x7f, 0x05, 0x00, 0x00, 0x84};
  log.Line(">>>>>>Send    ", false);
  log.HexDump(link_request);
  EXPECT_EQ(Text(),
            "{31/12/26 23:59:58}\r\n##### START COMMUNICATION #####\r\n\r\n"
            "{+0001234}>>>>>>Send    [ 7f 05 00 00 84 ]\r\n");
}

TEST_F(CommLogTest, ForcedStampMovesTheReference) {
  log.Line("a\n", false);
  clock.Advance(500);
  log.Line("b\n", true);
  clock.Advance(7);
  log.Line("c\n", false);
  EXPECT_EQ(Text(), "{31/12/26 23:59:58}\r\na\r\n{31/12/26 23:59:58}\r\nb\r\n{+0000007}c\r\n");
}

TEST_F(CommLogTest, ElapsedPastSevenDigitsIsPaddedNeverCut) {
  log.Line("", true);
  clock.Advance(12345678);
  log.Line("x", false);
  EXPECT_EQ(Text(), "{31/12/26 23:59:58}\r\n{+12345678}x");
}

TEST_F(CommLogTest, EmptyDumpAndTextWithoutLineEnd) {
  log.Line("!!! Appli Name Err (Pass)", true);
  log.HexDump({});
  log.Line("next\n", false);
  EXPECT_EQ(Text(), "{31/12/26 23:59:58}\r\n!!! Appli Name Err (Pass)[ ]\r\n{+0000000}next\r\n");
}

TEST_F(CommLogTest, NoFileNameWritesNothingAndSucceeds) {
  log.SetFileName("");
  EXPECT_EQ(log.Line("text\n", true), 1);
  EXPECT_EQ(log.HexDump({}), 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(CommLogTest, AnUnwritableFileLosesTheEntryOnly) {
  const std::string folder = dir.File("later");
  log.SetFileName(folder + "/log");
  EXPECT_EQ(log.Line("lost\n", true), 0);
  std::filesystem::create_directory(folder);
  EXPECT_EQ(log.Line("kept\n", true), 1);
  EXPECT_EQ(testsupport::ReadFile(folder + "/log"), "{31/12/26 23:59:58}\r\nkept\r\n");
}

// The file is held between entries, yet a log removed or renamed away in the
// meantime is started anew under its name rather than written into the void.
TEST_F(CommLogTest, ALogTakenAwayMidRunStartsAgainUnderItsName) {
  log.Line("one\n", true);
  std::filesystem::rename(path, dir.File("moved.log"));
  log.Line("two\n", false);
  std::filesystem::remove(path);
  log.Line("three\n", false);
  EXPECT_EQ(Text(), "{+0000000}three\r\n");
  EXPECT_EQ(testsupport::ReadFile(dir.File("moved.log")), "{31/12/26 23:59:58}\r\none\r\n");
}

// A new name lets go of the old file; naming it again starts it afresh.
TEST_F(CommLogTest, NamingTheLogAgainRemovesTheOldOne) {
  log.Line("old\n", true);
  const std::string other = dir.File("other.log");
  EXPECT_EQ(log.SetFileName(other), 0);
  log.Line("elsewhere\n", false);
  EXPECT_EQ(log.SetFileName(path), 1);
  log.Line("new\n", false);
  EXPECT_EQ(Text(), "{+0000000}new\r\n");
  EXPECT_EQ(testsupport::ReadFile(other), "{+0000000}elsewhere\r\n");
}

}  // namespace
}  // namespace orgalink::link
