// SPDX-License-Identifier: GPL-3.0-or-later
// RunModes 11 and 12 through the termios backend over a real pseudo-terminal.

#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "link/comm_log.h"
#include "link/link_engine.h"
#include "operations/run_communication.h"
#include "platform/posix_serial_port.h"
#include "store/appli_store.h"
#include "support/line_fixture.h"
#include "support/pty.h"
#include "support/temp_dir.h"

namespace orgalink::operations {

using namespace link;
namespace {

using testsupport::Bytes;

class PtyRunModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLogTimeReference();
    run.store = &store;
    engine.Log().SetFileName(dir.File("comm.log"));
    engine.Link().SetPortOpener([this](int, int baud, std::string& error) {
      return platform::OpenPosixSerialPort(pty.slave_path(), baud,
                                           platform::SystemClock::Instance(), error);
    });
    engine.Link().SetComPort(0);
  }

  testsupport::TempDir dir;
  testsupport::Pty pty;
  store::AppliStore store;
  LinkEngine engine;
  RunContext run{engine};
  testsupport::RecordingOwner owner;
};

TEST_F(PtyRunModeTest, NackGoesOutAndTheLogHasTheExactShape) {
  engine.Link().SetEchoBack(false);
  EXPECT_EQ(RunCommunication(run, owner.Front(), settings::RunMode::SendNack), LinkOk);
  EXPECT_EQ(pty.Read(5), (Bytes{0x7f, 0x15, 0x00, 0x00, 0x94}));
  EXPECT_EQ(owner.shown(), std::vector<std::string>{"SUCCESS send NACK"});
  const std::regex shape(
      "\\{\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\}\r\n##### START COMMUNICATION #####\r\n\r\n"
      "\\{\\+\\d{7}\\}>>>>>>Send    \\[ 7f 15 00 00 94 \\]\r\n"
      "\\{\\+\\d{7}\\}##### END COMMUNICATION #####\r\n\r\n");
  const std::string log = testsupport::ReadFile(dir.File("comm.log"));
  EXPECT_TRUE(std::regex_match(log, shape)) << log;
}

TEST_F(PtyRunModeTest, EndCommunicationWithTheCableEchoing) {
  std::thread cable([this] {
    const Bytes frame = pty.Read(5);
    pty.Write(frame);
  });
  EXPECT_EQ(RunCommunication(run, owner.Front(), settings::RunMode::SendEndCommunication), LinkOk);
  cable.join();
  const std::string log = testsupport::ReadFile(dir.File("comm.log"));
  EXPECT_NE(log.find(">>>>>>Send    [ 7f 09 00 00 88 ]\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("<<<<<<Receive1 [ 7f 09 00 00 88 ]\r\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace orgalink::operations
