// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/profile.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orgalink::platform {
namespace {

namespace fs = std::filesystem;

class ProfileTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orgalink-profile-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    file = (dir / "Orgalink.ini").string();
  }
  void TearDown() override { fs::remove_all(dir); }

  void Put(const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
  std::string Contents() {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path dir;
  std::string file;
};

TEST_F(ProfileTest, ReadsValuesWithoutRegardToCaseOrSpacing) {
  Put("; settings\r\n"
      "[Path]\r\n"
      "BackupDir = /home/me/backup \r\n"
      "LogFileName=\r\n"
      "\r\n"
      "  [ settings ]  \r\n"
      "comport=2\r\n"
      "TOCommand=45abc\r\n"
      "EchoBack=abc\r\n"
      "TOMultiplier=-3\r\n"
      "DeviceCode=+12\r\n"
      "BKTelRecordsMin=99999999999\r\n"
      "TODataPacket=\r\n"
      "; FileScramble=0\r\n"
      "Misplaced");

  const ProfileRead read = ReadProfile(file);
  ASSERT_EQ(read.outcome, ReadOutcome::Read);
  const IniDocument& ini = read.document;
  EXPECT_EQ(ProfileString(ini, "path", "backupdir", "x"), "/home/me/backup");
  EXPECT_EQ(ProfileString(ini, "Path", "LogFileName", "x"), "");
  EXPECT_EQ(ProfileString(ini, "Path", "Missing", "dflt"), "dflt");
  EXPECT_EQ(ProfileString(ini, "Nowhere", "BackupDir", "dflt"), "dflt");

  struct Case {
    const char* key;
    int expected;
  };
  const Case cases[] = {
      {"COMPort", 2},       {"TOCommand", 45},  {"EchoBack", 0},
      {"TOMultiplier", -3}, {"DeviceCode", 12}, {"BKTelRecordsMin", INT_MAX},
      {"TODataPacket", 77},  // present but empty: the default
      {"FileScramble", 77},  // commented out
      {"Nothing", 77},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProfileInt(ini, "Settings", c.key, 77), c.expected) << c.key;
  }
  const ProfileRead none = ReadProfile((dir / "none.ini").string());
  EXPECT_EQ(none.outcome, ReadOutcome::Missing);
  EXPECT_EQ(ProfileInt(none.document, "Settings", "COMPort", 1), 1);
  EXPECT_EQ(ProfileString(none.document, "Path", "BackupDir", "dflt"), "dflt");
}

// A default goes in only where the file has no such key.
TEST_F(ProfileTest, MergeChangesOnlyTheLinesItMeans) {
  Put("; keep me\r\n"
      "[Path]\r\n"
      "BackupDir=/old\r\n"
      "\r\n"
      "[Settings]\r\n"
      "COMPort = 1\r\n"
      "\r\n"
      "[Other]\r\n"
      "x=y");
  EXPECT_EQ(MergeIntoProfile(file, {{"SETTINGS", "comport", "3"},
                                    {"Settings", "EchoBack", "0"},
                                    {"Path", "BackupDir", "/new dir"},
                                    {"Other", "X", "default", true},
                                    {"Added", "Key", "v", true}}),
            0);
  EXPECT_EQ(Contents(),
            "; keep me\r\n"
            "[Path]\r\n"
            "BackupDir=/new dir\r\n"
            "\r\n"
            "[Settings]\r\n"
            "COMPort=3\r\n"
            "EchoBack=0\n"
            "\r\n"
            "[Other]\r\n"
            "x=y\n"
            "[Added]\n"
            "Key=v\n");
  EXPECT_EQ(ProfileInt(ReadProfile(file).document, "Settings", "COMPort", 1), 3);
}

TEST_F(ProfileTest, MergeCreatesTheFile) {
  EXPECT_EQ(MergeIntoProfile(file, {{"Settings", "COMPort", "2"}, {"Settings", "EchoBack", "1"}}),
            0);
  EXPECT_EQ(Contents(), "[Settings]\nCOMPort=2\nEchoBack=1\n");
}

TEST_F(ProfileTest, MergeThatCannotSucceedGivesTheReasonAndLeavesNoTrace) {
  EXPECT_EQ(MergeIntoProfile((dir / "missing" / "a.ini").string(), {{"S", "K", "V"}}), ENOENT);
  fs::create_directory(dir / "folder.ini");
  EXPECT_EQ(MergeIntoProfile((dir / "folder.ini").string(), {{"S", "K", "V"}}), EISDIR);
  EXPECT_TRUE(fs::is_directory(dir / "folder.ini"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace orgalink::platform
