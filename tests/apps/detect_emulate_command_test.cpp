// orgalink detect and orgalink emulate against a scripted partner on a
// pseudo-terminal.

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "link/command_code.h"
#include "platform/clock.h"
#include "support/line_fixture.h"
#include "support/pty.h"
#include "support/pty_far_port.h"
#include "support/pty_organizer.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace orgalink {
namespace {

using namespace testsupport;

// COM1 names no device, the organizer waits on COM2: the search names each
// port as it goes, finds COM2, releases the organizer, and --save keeps it.
TEST(DetectCommand, FindsTheOrganizerAndSavesItsPort) {
  TempDir dir;
  Pty line;
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Settings]\nCOMPort=4\n[Ports]\nCOM1=" << dir.File("none")
                     << "\nCOM2=" << line.slave_path() << "\n";
  Bytes released;
  std::thread organizer([&] {
    PtyFarPort port(line);
    if (NegotiateOnPty(line, Variant::M)) released = line.Read(5);
  });
  const auto result =
      RunProgram(ORGALINK_CLI, {"detect", "--save", "--echo", "0", "--settings", ini});
  organizer.join();
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out, "Organizer detected on COM2.\n");
  EXPECT_TRUE(result.err.ends_with("Checking COM1\nChecking COM2\n")) << result.err;
  EXPECT_EQ(released, CommandFrame(link::END_COMMUNICATION));
  EXPECT_NE(ReadFile(ini).find("COMPort=2\n"), std::string::npos) << ReadFile(ini);
}

// The PC's side, played by the test: the emulated organizer offers the link,
// answers GET_ALL_RECORDS from memo.snd in --dump-dir, and says goodbye when
// the PC ends the communication.
TEST(EmulateCommand, ServesTheDumpFilesOfDumpDir) {
  TempDir dir;
  Pty line;
  const Bytes memo = {'h', 'e', 'l', 'l', 'o'};
  std::ofstream(dir.File("memo.snd"), std::ios::binary) << "hello\xff";
  Bytes contents;
  std::thread pc([&] {
    PtyFarPort port(line);
    FarEnd far(port, platform::SystemClock::Instance());
    if (far.ReceiveCommand() != CommandFrame(link::LINK_REQUEST)) return;
    far.SendCommand(link::ACK);
    if (far.ReceiveCommand().size() != 5) return;  // DEVICE_INFORMATION
    far.SendCommand(link::GET_ALL_RECORDS, 3, 0);
    const Bytes header = far.Receive(5);
    if (header.size() != 5) return;
    const Bytes rest = far.Receive(header[4] + 1u);
    contents.assign(rest.begin(), rest.end() - 1);
    far.SendCommand(link::ACK);
    if (far.ReceiveCommand() != CommandFrame(link::FINISH_ALL_RECORDS)) return;
    far.SendCommand(link::END_COMMUNICATION);
  });
  const auto result = RunProgram(
      ORGALINK_CLI, {"emulate", "--port", line.slave_path(), "--echo", "0", "--dump-dir",
                     dir.path().string(), "--settings", dir.File("elsewhere/Orgalink.ini")});
  pc.join();
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(contents, memo);
  EXPECT_EQ(result.out, "BYE!!\n");
}

}  // namespace
}  // namespace orgalink
