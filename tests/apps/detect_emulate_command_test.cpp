// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink detect and orgalink emulate against a scripted partner on a
// pseudo-terminal.

#include <gtest/gtest.h>
#include <limits.h>

#include <filesystem>
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
// port as it goes, finds COM2, releases the organizer, and --save keeps it,
// changing nothing else in the file. Where the file cannot be replaced the
// port is not kept: that is said, and the command fails. (A settings file
// whose name is as long as a name may be can be read, but no file can be
// made beside it to replace it, not even by root.)
TEST(DetectCommand, FindsTheOrganizerAndSavesItsPortOrSaysItCouldNot) {
  const struct {
    std::string name;
    int exitCode;
  } cases[] = {{"Orgalink.ini", 0}, {std::string(NAME_MAX - 4, 'x') + ".ini", 74}};
  for (const auto& c : cases) {
    TempDir dir;
    Pty line;
    const std::string ini = dir.File(c.name);
    const std::string ports =
        "[Ports]\nCOM1=" + dir.File("none") + "\nCOM2=" + line.slave_path() + "\n";
    std::ofstream(ini) << "[Settings]\nCOMPort=4\n" << ports;
    Bytes released;
    std::thread organizer([&] {
      PtyFarPort port(line);
      if (NegotiateOnPty(line, Variant::M)) released = line.Read(5);
    });
    const auto result =
        RunProgram(ORGALINK_CLI, {"detect", "--save", "--echo", "0", "--settings", ini});
    organizer.join();
    EXPECT_EQ(result.exit_code, c.exitCode) << result.err;
    EXPECT_EQ(result.out, "Organizer detected on COM2 (" + line.slave_path() + ").\n");
    EXPECT_NE(result.err.find("Checking COM1\nChecking COM2\n"), std::string::npos) << result.err;
    EXPECT_EQ(released, CommandFrame(link::END_COMMUNICATION));
    const bool saved = c.exitCode == 0;
    EXPECT_EQ(ReadFile(ini),
              (saved ? "[Settings]\nCOMPort=2\n" : "[Settings]\nCOMPort=4\n") + ports);
    const bool told =
        result.err.find("The settings could not be saved in " + ini + ": ") != std::string::npos;
    EXPECT_EQ(told, !saved) << result.err;
  }
}

// The PC's side, played by the test: the emulated organizer offers the link,
// answers GET_ALL_RECORDS from memo.snd in --dump-dir, and says goodbye when
// the PC ends the communication.
TEST(EmulateCommand, ServesTheDumpFilesOfDumpDir) {
  TempDir dir;
  Pty line;
  const Bytes memo = {'h', 'e', 'l', 'l', 'o'};
  std::ofstream(dir.File("memo.snd"), std::ios::binary) << "hello\xff";
  // Elsewhere than the dump files, which come from --dump-dir.
  const std::string ini = dir.File("elsewhere/Orgalink.ini");
  std::filesystem::create_directory(dir.File("elsewhere"));
  std::ofstream{ini};
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
  const auto result =
      RunProgram(ORGALINK_CLI, {"emulate", "--port", line.slave_path(), "--echo", "0", "--dump-dir",
                                dir.path().string(), "--settings", ini});
  pc.join();
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(contents, memo);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("BYE!!\n"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace orgalink
