// The settings file: defaults, prefixing, write-back rules and port names.

#include "ui/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"
#include "ui/port_choice.h"

namespace orgalink::ui {
namespace {

// The settings file `ini` of a copy installed in /opt/orgalink/.
FileLocations At(const std::string& ini) {
  return FileLocations{ini, "/opt/orgalink/", "/opt/orgalink/DATA"};
}

TEST(Settings, NoFileGivesTheDefaultsAndWritesThemBack) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  const Settings s = ReadSettings(At(ini));
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

  const Settings here = ReadSettings(FileLocations{ini, dir.File(""), dir.File("DATA")});
  CreateBackupDir(here);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("DATA")));

  WriteSettings(ini, s);
  const std::string text = testsupport::ReadFile(ini);
  for (const char* line :
       {"BackupDir=/opt/orgalink/DATA", "COMPort=1", "EchoBack=1", "DeviceCode=2", "TOCommand=30",
        "TODataPacket=30", "TOMultiplier=0", "BKTelRecordsMin=1"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(text.find("LogFileName"), std::string::npos);
  EXPECT_EQ(text.find("FileScramble"), std::string::npos);
  EXPECT_EQ(text.find("QuietWindow"), std::string::npos);
}

// The keys go into a new file in the order the program reads them.
TEST(Settings, AFreshFileHoldsTheKeysInReadingOrder) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  Settings s = ReadSettings(At(ini));
  s.logFileName = "/var/log/comm.log";
  s.fileScramble = 0;
  WriteSettings(ini, s);
  EXPECT_EQ(testsupport::ReadFile(ini),
            "[Path]\nBackupDir=/opt/orgalink/DATA\nLogFileName=/var/log/comm.log\n[Settings]\n"
            "COMPort=1\nEchoBack=1\nFileScramble=0\nDeviceCode=2\nTOCommand=30\nTODataPacket=30\n"
            "TOMultiplier=0\nBKTelRecordsMin=1\n");
}

// Outside a portable copy neither the settings folder nor the backup folder
// exists on the first run.
TEST(Settings, MissingFoldersAreMadeForTheFileAndTheBackups) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("config/orgalink/Orgalink.ini");
  const Settings s = ReadSettings(
      FileLocations{ini, dir.File("config/orgalink/"), dir.File("share/orgalink/DATA")});
  CreateBackupDir(s);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("share/orgalink/DATA")));
  WriteSettings(ini, s);
  EXPECT_NE(testsupport::ReadFile(ini).find("BackupDir=" + dir.File("share/orgalink/DATA")),
            std::string::npos);
}

TEST(Settings, ValuesAreReadAndWrittenBackByTheirRules) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Path]\nLogFileName=comm.log\n[Settings]\nFileScramble=5\nTOCommand=45\n"
                        "TODataPacket=0\n";
  Settings s = ReadSettings(At(ini));
  EXPECT_EQ(s.logFileName, "/opt/orgalink/comm.log");
  EXPECT_EQ(s.fileScramble, 5);
  EXPECT_EQ(s.toCommand, 45000);
  EXPECT_EQ(s.toDataPacket, 0);
  WriteSettings(ini, s);
  std::string text = testsupport::ReadFile(ini);
  EXPECT_NE(text.find("LogFileName=/opt/orgalink/comm.log"), std::string::npos);
  EXPECT_NE(text.find("FileScramble=5"), std::string::npos) << "a value that is on stays untouched";
  EXPECT_NE(text.find("TOCommand=45"), std::string::npos);

  s.fileScramble = 0;
  WriteSettings(ini, s);
  EXPECT_NE(testsupport::ReadFile(ini).find("FileScramble=0"), std::string::npos);
}

TEST(Settings, LogFileNameWithAFolderIsUsedUnchanged) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  for (const char* name : {"/var/log/comm.log", "logs/comm.log", "D:\\logs\\comm.log"}) {
    std::ofstream(ini) << "[Path]\nLogFileName=" << name << "\n";
    EXPECT_EQ(ReadSettings(At(ini)).logFileName, name);
  }
}

TEST(Settings, NegativeTimeOutsComeBackAsTheyWereWritten) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Settings]\nTOCommand=-5\nTODataPacket=-1\n";
  const Settings s = ReadSettings(At(ini));
  EXPECT_EQ(s.toCommand, -5000);
  WriteSettings(ini, s);
  const std::string text = testsupport::ReadFile(ini);
  EXPECT_NE(text.find("TOCommand=-5"), std::string::npos) << text;
  EXPECT_NE(text.find("TODataPacket=-1"), std::string::npos) << text;
}

// Only a quiet window that differs from the default goes into the file.
TEST(Settings, QuietWindowIsReadInMillisecondsAndWrittenOnlyWhenChanged) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Settings]\nQuietWindow=25\n";
  const Settings s = ReadSettings(At(ini));
  EXPECT_EQ(s.quietWindow, 25);
  const std::string other = dir.File("Other.ini");
  WriteSettings(other, s);
  EXPECT_NE(testsupport::ReadFile(other).find("QuietWindow=25"), std::string::npos);
}

TEST(Settings, ComPortsMapToDevices) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  EXPECT_EQ(DevicePathForPort(ini, 1), "/dev/ttyS0");
  EXPECT_EQ(DevicePathForPort(ini, 4), "/dev/ttyS3");
  std::ofstream(ini) << "[Ports]\nCOM2=/dev/ttyUSB0\n";
  EXPECT_EQ(DevicePathForPort(ini, 2), "/dev/ttyUSB0");
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
