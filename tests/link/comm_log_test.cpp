// The log file format under an injected clock.

#include "link/comm_log.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "support/temp_dir.h"

namespace orgalink::link {
namespace {

class CommLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLogTimeReference();
    clock.SetLocalTime("31/12/26 23:59:58");
  }
  std::string Text() const { return testsupport::ReadFile(path); }

  testsupport::TempDir dir;
  std::string path = dir.File("comm.log");
  platform::VirtualClock clock{5000};
};

TEST_F(CommLogTest, FirstEntryIsStampedAbsolutelyThenElapsed) {
  ASSERT_EQ(LogLine(clock, path, "##### START COMMUNICATION #####\n\n", false), 1);
  clock.Advance(1234);
  const std::uint8_t link_request[] = {0x7f, 0x05, 0x00, 0x00, 0x84};
  LogLine(clock, path, ">>>>>>Send    ", false);
  LogHexDump(path, link_request, 5);
  EXPECT_EQ(Text(),
            "{31/12/26 23:59:58}\r\n##### START COMMUNICATION #####\r\n\r\n"
            "{+0001234}>>>>>>Send    [ 7f 05 00 00 84 ]\r\n");
}

TEST_F(CommLogTest, ForcedStampMovesTheReference) {
  LogLine(clock, path, "a\n", false);
  clock.Advance(500);
  LogLine(clock, path, "b\n", true);
  clock.Advance(7);
  LogLine(clock, path, "c\n", false);
  EXPECT_EQ(Text(), "{31/12/26 23:59:58}\r\na\r\n{31/12/26 23:59:58}\r\nb\r\n{+0000007}c\r\n");
}

TEST_F(CommLogTest, ElapsedPastSevenDigitsIsPaddedNeverCut) {
  LogLine(clock, path, "", true);
  clock.Advance(12345678);
  LogLine(clock, path, "x", false);
  EXPECT_EQ(Text(), "{31/12/26 23:59:58}\r\n{+12345678}x");
}

TEST_F(CommLogTest, EmptyDumpAndTextWithoutLineEnd) {
  LogLine(clock, path, "!!! Appli Name Err (Pass)", true);
  LogHexDump(path, nullptr, 0);
  LogLine(clock, path, "next\n", false);
  EXPECT_EQ(Text(), "{31/12/26 23:59:58}\r\n!!! Appli Name Err (Pass)[ ]\r\n{+0000000}next\r\n");
}

TEST_F(CommLogTest, NoFileNameWritesNothingAndSucceeds) {
  EXPECT_EQ(LogLine(clock, "", "text\n", true), 1);
  EXPECT_EQ(LogHexDump("", nullptr, 0), 1);
}

TEST_F(CommLogTest, AnUnwritableFileLosesTheEntryOnly) {
  EXPECT_EQ(LogLine(clock, dir.File("missing/dir/log"), "text\n", false), 0);
}

}  // namespace
}  // namespace orgalink::link
