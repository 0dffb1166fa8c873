// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink backup, inspect and restore against the scripted organizer on a
// pseudo-terminal: the round trip, the failures that must leave the previous
// archive alone, the archive names, and a failed write's Retry and Cancel.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "platform/clock.h"
#include "support/organizer_script.h"
#include "support/pty.h"
#include "support/pty_far_port.h"
#include "support/pty_organizer.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/terminal_session.h"
#include "support/transfer_peer.h"

namespace orgalink {
namespace {

using namespace testsupport;

const OrganizerData kOrganizer = {{{5, {{0x01, 'A', 'd', 'a'}, {0x02, 'B', 'o', 'b'}}},
                                   {0, {Text("0123456789abcd Dentist")}},
                                   {3, {Text("first memo"), Text("second memo, longer ", 200)}},
                                   {4, {Text("0123456789abcdefghijklmnopqrstuvw Fuel")}}},
                                  Text("Food Fuel Rent")};

class BackupRestoreCommandTest : public ::testing::Test {
 protected:
  // A settings file named with --settings must exist.
  BackupRestoreCommandTest() { std::ofstream{ini}; }
  std::vector<std::string> Args(std::vector<std::string> args) {
    args.insert(args.end(),
                {"--port", line.slave_path(), "--echo", "0", "--log", log, "--settings", ini});
    return args;
  }
  // Plays the organizer on its own thread: the negotiation, then `play`.
  std::thread Organizer(std::function<void(FarEnd&)> play, Variant variant = Variant::M) {
    return std::thread([this, play, variant] {
      PtyFarPort port(line);
      FarEnd far(port, platform::SystemClock::Instance());
      if (NegotiateOnPty(line, variant)) play(far);
    });
  }
  std::vector<std::string> FilesInDir() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir;
  Pty line;
  std::string ini = dir.File("Orgalink.ini");
  std::string log = dir.File("comm.log");
  std::string archive = dir.File("out.bkf");
};

std::vector<std::string> ExpectedRestore(const OrganizerData& data) {
  std::vector<std::string> exchange = {"D5", "D0", "D1", "D2", "D3", "D4"};
  for (const std::uint8_t kind : {5, 0, 1, 2, 3, 6, 4}) {
    if (kind == 6) exchange.push_back("R6:" + Hex(data.expenseCategory));
    const auto found = data.records.find(kind);
    if (found == data.records.end()) continue;
    for (const Bytes& record : found->second) {
      exchange.push_back("R" + std::to_string(kind) + ":" + Hex(record));
    }
  }
  exchange.push_back("E");
  return exchange;
}

TEST_F(BackupRestoreCommandTest, BackupInspectAndRestorePutTheSameRecordsBack) {
  std::thread organizer = Organizer([](FarEnd& far) { PlayBackup(far, kOrganizer, false); });
  const auto backup = RunProgram(ORGALINK_CLI, Args({"backup", dir.File("out")}));
  organizer.join();
  ASSERT_EQ(backup.exit_code, 0) << backup.err;
  // Standard output holds the result alone, for a script to read; what the
  // user is told, the log's success text included, goes to standard error.
  EXPECT_EQ(backup.out, archive +
                            "\n  Telephone: 2 records\n  Schedule: 1 record\n"
                            "  Memo: 2 records\n  Expense Category: 1 record\n"
                            "  Expense: 1 record\n");
  EXPECT_TRUE(backup.err.starts_with(
      "1. Press the [ON/OFF] button to turn OFF.\n"
      "2. Connect the cable to your Organizer and your PC.\n"
      "3. Press the [ON/OFF] button to turn ON.\n\n"
      "Instructions\n"
      "1. Make sure the cable is connected to your Organizer\n"
      "    and your PC.\n"
      "2. Press the [PC-LINK] button.\n\n"
      "Waiting for Organizer...\nReceiving...\nReceiving... Telephone\n"
      "Receiving... Schedule\nReceiving... Anniversary\nReceiving... To Do\n"
      "Receiving... Memo\nReceiving... Expense\nFinished.\nSUCCESS Backup\nTime:"))
      << backup.err;
  EXPECT_TRUE(LinesInOrder(
      ReadFile(log), {"********** Backup 1 Appli **********\n", "---PC sends END_COMMUNICATION\n\n",
                      "====>>Write File (" + archive + ")\n\n", "BackupTime="}))
      << ReadFile(log);

  const auto inspect = RunProgram(ORGALINK_CLI, {"inspect", archive});
  EXPECT_EQ(inspect.exit_code, 0) << inspect.err;
  EXPECT_NE(inspect.out.find("sections: 5\n  1. Telephone: 2 records"), std::string::npos)
      << inspect.out;

  // Without its safety backup the restore goes straight to the deletions.
  std::vector<std::string> restored;
  organizer = Organizer([&](FarEnd& far) { restored = PlayRestore(far, false); });
  const auto restore =
      RunProgram(ORGALINK_CLI, Args({"restore", "--yes", "--no-safety-backup", archive}));
  organizer.join();
  EXPECT_EQ(restore.exit_code, 0) << restore.err;
  EXPECT_EQ(restored, ExpectedRestore(kOrganizer));
  EXPECT_EQ(restore.out, "");
  EXPECT_NE(restore.err.find("Finished.\nSUCCESS Restore\nTime:"), std::string::npos)
      << restore.err;
  EXPECT_TRUE(LinesInOrder(
      ReadFile(log), {"<<====Read File (" + archive + ")\n\n", "---PC sends DELETE_ALL_RECORDS\n\n",
                      "********** End Restore **********\n\n", "RestoreTime="}))
      << ReadFile(log);
}

struct FaultCase {
  const char* name;
  OrganizerData data;
  Variant variant;
  int faultAt;
  Fault fault;
  int exitCode;
  const char* message;
};

// Each failure exits with its status and says why; the archive that was
// there stays byte for byte, and no temporary file is left beside it.
TEST_F(BackupRestoreCommandTest, AFailedBackupLeavesThePreviousArchiveAlone) {
  OrganizerData outOfOrder = kOrganizer;
  outOfOrder.records[5] = {{0x01, 'B', 'o', 'b'}, {0x02, 'A', 'd', 'a'}};
  const FaultCase cases[] = {
      {"checksum", kOrganizer, Variant::M, 0, Fault::BadChecksum, 11,
       "I/O Device error.\nCause: wrong checksum of a data packet: expected 0x7A, received "
       "0x2F.\n"},
      {"silence", kOrganizer, Variant::M, 3, Fault::Silent, 5,
       "Organizer not responding.\nCause: a data packet did not come within 1000 ms. Try: press "
       "the organizer's PC-LINK button, or check the port (--port).\n"},
      // The base model's Telephone records must come sorted; the probe of
      // its variant waits out its second.
      {"telephone order", outOfOrder, Variant::E, -1, Fault::None, 14,
       "Communications error!\nPlease try again.\nCause: Telephone record 2 arrived out of "
       "order: the organizer sent only part of its records.\n"},
  };
  const std::string old = "an earlier backup, whatever it holds";
  for (const FaultCase& c : cases) {
    std::ofstream(archive, std::ios::binary) << old;
    std::thread organizer = Organizer(
        [&](FarEnd& far) { PlayBackup(far, c.data, false, c.faultAt, c.fault); }, c.variant);
    const auto result =
        RunProgram(ORGALINK_CLI, Args({"backup", archive, "--to-command", "1", "--to-data", "1"}));
    organizer.join();
    EXPECT_EQ(result.exit_code, c.exitCode) << c.name << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.name << result.err;
    EXPECT_EQ(ReadFile(archive), old) << c.name;
    EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"Orgalink.ini", "comm.log", "out.bkf"}))
        << c.name;
  }
}

TEST_F(BackupRestoreCommandTest, WithoutANameBackupsGoToBackupDirUnderTodaysDate) {
  const std::string backupDir = dir.File("DATA");
  std::ofstream(ini) << "[Path]\nBackupDir=" << backupDir << "\n";
  const std::string today = platform::SystemClock::Instance().LocalTime("%Y%m%d");
  for (const std::string& name : {today + ".bkf", today + "-2.bkf"}) {
    std::thread organizer = Organizer([](FarEnd& far) { PlayBackup(far, kOrganizer, false); });
    const auto result = RunProgram(ORGALINK_CLI, Args({"backup"}));
    organizer.join();
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.out.find(backupDir + "/" + name + "\n"), std::string::npos) << result.out;
    EXPECT_TRUE(std::filesystem::is_regular_file(backupDir + "/" + name)) << name;
  }
  // Only what a run changes goes back into the settings file, and a backup
  // changes nothing.
  EXPECT_EQ(ReadFile(ini), "[Path]\nBackupDir=" + backupDir + "\n");
}

// Another backup, started at the same moment, writes today's archive while
// this one is still talking to the organizer: this one moves on to the next
// number instead of replacing it.
TEST_F(BackupRestoreCommandTest, ADatedNameTakenDuringTheBackupMovesOnToTheNextNumber) {
  const std::string backupDir = dir.File("DATA");
  std::ofstream(ini) << "[Path]\nBackupDir=" << backupDir << "\n";
  const std::string today = platform::SystemClock::Instance().LocalTime("%Y%m%d");
  const std::string other = "the other backup's archive";
  std::thread organizer = Organizer([&](FarEnd& far) {
    std::ofstream(backupDir + "/" + today + ".bkf", std::ios::binary) << other;
    PlayBackup(far, kOrganizer, false);
  });
  const auto result = RunProgram(ORGALINK_CLI, Args({"backup"}));
  organizer.join();
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_NE(result.out.find(backupDir + "/" + today + "-2.bkf\n"), std::string::npos) << result.out;
  EXPECT_EQ(ReadFile(backupDir + "/" + today + ".bkf"), other);
  EXPECT_TRUE(std::filesystem::is_regular_file(backupDir + "/" + today + "-2.bkf"));
}

// The archive cannot be written where its folder went missing during the
// transfer (it was there when the backup began): the cause names the folder;
// a terminal is asked, and Retry writes it once the folder exists again;
// without a terminal the answer is Cancel, and the status 17.
TEST_F(BackupRestoreCommandTest, AFailedWriteIsRetriedOnATerminalAndCancelledWithoutOne) {
  const std::string target = dir.File("later/out.bkf");
  const auto folderGoesDuringTheBackup = [&](FarEnd& far) {
    std::filesystem::remove(dir.File("later"));
    PlayBackup(far, kOrganizer, false);
  };
  std::filesystem::create_directory(dir.File("later"));
  std::thread organizer = Organizer(folderGoesDuringTheBackup);
  const auto cancelled = RunProgram(ORGALINK_CLI, Args({"backup", target}));
  organizer.join();
  EXPECT_EQ(cancelled.exit_code, 17) << cancelled.err;
  EXPECT_NE(cancelled.err.find("Write file error.\nCause: " + dir.File("later") + ": " +
                               std::strerror(ENOENT) +
                               ".\nCancelled: there is no terminal to answer Retry."),
            std::string::npos)
      << cancelled.err;

  std::filesystem::create_directory(dir.File("later"));
  organizer = Organizer(folderGoesDuringTheBackup);
  TerminalSession session(ORGALINK_CLI, Args({"backup", target}));
  ASSERT_TRUE(session.WaitFor("[r]etry or [C]ancel? ")) << session.Screen();
  organizer.join();
  std::filesystem::create_directory(dir.File("later"));
  session.Type("r\n");
  EXPECT_EQ(session.Wait(), 0) << session.Screen();
  EXPECT_TRUE(std::filesystem::is_regular_file(target));
  EXPECT_NE(session.Screen().find("100%  Finished."), std::string::npos) << session.Screen();
}

// Ctrl-C while the organizer is in the middle of the applications.
TEST_F(BackupRestoreCommandTest, CtrlCDuringABackupReleasesTheOrganizerAndKeepsTheArchive) {
  const std::string old = "an earlier backup, whatever it holds";
  std::ofstream(archive, std::ios::binary) << old;
  std::vector<Bytes> heard;
  std::thread organizer =
      Organizer([&](FarEnd& far) { heard = PlayBackup(far, kOrganizer, false, 3, Fault::Silent); });
  TerminalSession session(ORGALINK_CLI, Args({"backup", archive}));
  ASSERT_TRUE(session.WaitFor("Receiving... Memo")) << session.Screen();
  session.Type("\x03");
  EXPECT_EQ(session.Wait(), 130) << session.Screen();
  organizer.join();
  ASSERT_GE(heard.size(), 2u);
  EXPECT_EQ(heard[heard.size() - 2], CommandFrame(0x15));
  EXPECT_EQ(heard.back(), CommandFrame(0x09));
  EXPECT_EQ(ReadFile(archive), old);
  EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"Orgalink.ini", "comm.log", "out.bkf"}));
  EXPECT_NE(session.Screen().find("User aborted."), std::string::npos) << session.Screen();
}

}  // namespace
}  // namespace orgalink
