// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: defaults, reading rules, port names, and what a write
// back puts into the file.

#include "ui/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"
#include "ui/port_choice.h"
#include "ui/settings_file.h"

namespace orgalink::ui {
namespace {

using settings::RunSettings;

// The settings file `ini` of a copy installed in /opt/orgalink/.
FileLocations At(const std::string& ini) {
  return FileLocations{ini, "/opt/orgalink/", "/opt/orgalink/DATA"};
}

RunSettings Read(const std::string& ini) {
  return SettingsFile(At(ini)).Values();
}

TEST(Settings, NoFileGivesTheDefaults) {
  testsupport::TempDir dir;
  const RunSettings s = Read(dir.File("Orgalink.ini"));
  EXPECT_EQ(s.backupDir, "/opt/orgalink/DATA");
  EXPECT_EQ(s.logFileName, "");
  EXPECT_EQ(s.comPort, 1);
  EXPECT_EQ(s.echoBack, 1);
  EXPECT_EQ(s.fileScramble, 1);
  EXPECT_EQ(s.deviceCode, 2);
  EXPECT_EQ(s.toCommand, 30000);
  EXPECT_EQ(s.toDataPacket, 30000);
  EXPECT_EQ(s.toMultiplier, 0);
  EXPECT_EQ(s.bkTelRecordsMin, 1);
  EXPECT_EQ(s.quietWindow, 10);
  EXPECT_EQ(s.safetyBackup, 1);
  EXPECT_EQ(s.verifyRestore, 0);
  EXPECT_EQ(s.comDevices.For(1), "/dev/ttyS0");
  EXPECT_EQ(s.comDevices.For(4), "/dev/ttyS3");

  const RunSettings here =
      SettingsFile(FileLocations{dir.File("Orgalink.ini"), dir.File(""), dir.File("DATA")})
          .Values();
  CreateBackupDir(here);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("DATA")));
}

// Outside a portable copy the settings folder does not exist on a first run.
// The first write makes it and leaves every default in the file, in the
// order the program reads them, with what the run changed among them.
TEST(Settings, AFirstRunWritesEveryDefault) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("config/orgalink/Orgalink.ini");
  SettingsFile file(At(ini));
  RunSettings s = file.Values();
  s.logFileName = "/var/log/comm.log";
  s.fileScramble = 0;
  std::string problem;
  ASSERT_TRUE(file.Save(s, problem)) << problem;
  EXPECT_EQ(testsupport::ReadFile(ini),
            "[Path]\nBackupDir=/opt/orgalink/DATA\nLogFileName=/var/log/comm.log\n[Settings]\n"
            "COMPort=1\nEchoBack=1\nFileScramble=0\nDeviceCode=2\nTOCommand=30\nTODataPacket=30\n"
            "TOMultiplier=0\nBKTelRecordsMin=1\n");
}

// Another program (the dialogs, a second command) changed the file after
// this one read it: a write back sets only the keys this run changed, into
// the file as it is now, and the file keeps its permissions. A write with
// nothing to change leaves the file alone.
TEST(Settings, ALaterWriteMergesOnlyWhatThisRunChanged) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Settings]\nCOMPort=1\nTOCommand=30\n";
  ASSERT_EQ(chmod(ini.c_str(), 0600), 0);
  SettingsFile file(At(ini));
  RunSettings s = file.Values();

  const std::string meanwhile =
      "; edited\n[Settings]\nCOMPort=1\nTOCommand=45\n[Ports]\nCOM2=/dev/ttyUSB0\n";
  std::ofstream(ini) << meanwhile;
  s.comPort = 3;
  s.comDevices.Set(1, "/dev/ttyACM0");
  std::string problem;
  ASSERT_TRUE(file.Save(s, problem)) << problem;
  EXPECT_EQ(testsupport::ReadFile(ini),
            "; edited\n[Settings]\nCOMPort=3\nTOCommand=45\n[Ports]\nCOM2=/dev/ttyUSB0\n"
            "COM1=/dev/ttyACM0\n");
  struct stat status {};
  ASSERT_EQ(stat(ini.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);

  std::ofstream(ini) << meanwhile;
  ASSERT_TRUE(file.Save(s, problem)) << problem;
  EXPECT_EQ(testsupport::ReadFile(ini), meanwhile);
}

// A file stands where the settings folder should be made. The failure is
// told, and once the way is clear the next write still makes a whole file.
TEST(Settings, AFailedWriteIsReportedAndTriedAgain) {
  testsupport::TempDir dir;
  std::ofstream(dir.File("orgalink")) << "not a folder";
  const std::string ini = dir.File("orgalink/Orgalink.ini");
  SettingsFile file(At(ini));
  RunSettings s = file.Values();
  s.comPort = 2;
  std::string problem;
  EXPECT_FALSE(file.Save(s, problem));
  EXPECT_FALSE(problem.empty());
  EXPECT_EQ(SettingsNotSavedText(ini, "Not a directory"),
            "The settings could not be saved in " + ini + ": Not a directory.");

  std::filesystem::remove(dir.File("orgalink"));
  ASSERT_TRUE(file.Save(s, problem)) << problem;
  const std::string text = testsupport::ReadFile(ini);
  EXPECT_NE(text.find("COMPort=2\n"), std::string::npos) << text;
  EXPECT_NE(text.find("BKTelRecordsMin=1\n"), std::string::npos) << text;
}

TEST(Settings, ValuesAreReadByTheirRules) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Path]\nLogFileName=comm.log\n[Settings]\nFileScramble=5\nTOCommand=45\n"
                        "TODataPacket=0\nQuietWindow=25\nSafetyBackup=0\nVerifyRestore=1\n[Ports]"
                        "\nCOM2=/dev/ttyUSB0\ncom7=/dev/ttyACM0\n"
                        "COM07=/dev/null\nCOMX=/dev/null\n";
  const RunSettings s = Read(ini);
  EXPECT_EQ(s.logFileName, "/opt/orgalink/comm.log");
  EXPECT_EQ(s.fileScramble, 5);
  EXPECT_EQ(s.toCommand, 45000);
  EXPECT_EQ(s.toDataPacket, 0);
  EXPECT_EQ(s.quietWindow, 25);
  EXPECT_EQ(s.safetyBackup, 0);
  EXPECT_EQ(s.verifyRestore, 1);
  // [Ports] may name a device for any port number.
  EXPECT_EQ(s.comDevices.Named(), (std::vector<int>{2, 7}));
  EXPECT_EQ(s.comDevices.For(2), "/dev/ttyUSB0");
  EXPECT_EQ(s.comDevices.For(3), "/dev/ttyS2");
  EXPECT_EQ(s.comDevices.For(7), "/dev/ttyACM0");
}

TEST(Settings, LogFileNameWithAFolderIsUsedUnchanged) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  for (const char* name : {"/var/log/comm.log", "logs/comm.log", "D:\\logs\\comm.log"}) {
    std::ofstream(ini) << "[Path]\nLogFileName=" << name << "\n";
    EXPECT_EQ(Read(ini).logFileName, name);
  }
}

// What goes into the file for held values: time-outs in whole seconds,
// negative ones included; the quiet window, FileScramble and LogFileName
// only where they differ from what the program always assumes.
TEST(Settings, HeldValuesAreWrittenByTheirRules) {
  RunSettings s;
  s.toCommand = -5000;
  s.toDataPacket = 45000;
  s.quietWindow = 25;
  std::string text;
  for (const platform::ProfileChange& change : SettingsChanges(RunSettings{}, s, true)) {
    text += change.key + "=" + change.value + (change.onlyIfAbsent ? " default\n" : "\n");
  }
  EXPECT_EQ(text,
            "BackupDir= default\nCOMPort=1 default\nEchoBack=1 default\nDeviceCode=2 default\n"
            "TOCommand=-5\nTODataPacket=45\nTOMultiplier=0 default\nBKTelRecordsMin=1 default\n"
            "QuietWindow=25\n");
}

// Both front ends make the state folder a log without a folder goes to,
// private to its owner, and no folder for a log kept elsewhere.
TEST(Settings, TheLogsStateFolderIsMadeWhenTheLogLiesInIt) {
  testsupport::TempDir dir;
  FileLocations where;
  where.logDirectory = dir.File("state/orgalink") + "/";
  RunSettings elsewhere;
  elsewhere.logFileName = dir.File("comm.log");
  CreateLogFolder(where, elsewhere);
  EXPECT_FALSE(std::filesystem::exists(dir.File("state")));
  RunSettings inside;
  inside.logFileName = where.logDirectory + "comm.log";
  CreateLogFolder(where, inside);
  struct stat made {};
  ASSERT_EQ(stat(dir.File("state/orgalink").c_str(), &made), 0);
  EXPECT_EQ(made.st_mode & 0777, 0700u);
}

TEST(PortChoice, ParsesNumbersNamesLoopAndPaths) {
  struct Case {
    const char* text;
    bool valid;
    PortChoice::Kind kind;
    int number;
  } cases[] = {
      {"1", true, PortChoice::Kind::Com, 1},     {"COM4", true, PortChoice::Kind::Com, 4},
      {"loop", true, PortChoice::Kind::Loop, 0}, {"/dev/pts/3", true, PortChoice::Kind::Device, 0},
      {"0", false, PortChoice::Kind::Com, 0},    {"5", false, PortChoice::Kind::Com, 0},
      {"COM", false, PortChoice::Kind::Com, 0},  {"ttyS0", false, PortChoice::Kind::Com, 0},
      {"2x", false, PortChoice::Kind::Com, 0},
  };
  for (const auto& c : cases) {
    const auto choice = ParsePortChoice(c.text);
    ASSERT_EQ(choice.has_value(), c.valid) << c.text;
    if (!choice) continue;
    EXPECT_EQ(choice->kind, c.kind) << c.text;
    EXPECT_EQ(choice->Number(), c.number) << c.text;
  }
}

}  // namespace
}  // namespace orgalink::ui
