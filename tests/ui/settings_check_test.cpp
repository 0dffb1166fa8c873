// SPDX-License-Identifier: GPL-3.0-or-later
// The values of the settings file that no communication can use, found when
// the file is read and named with their key.

#include "ui/settings_check.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"
#include "ui/settings_file.h"

namespace orgalink::ui {
namespace {

std::vector<std::string> ProblemsOf(const std::string& settings) {
  return SettingsValueProblems(platform::IniDocument::Parse("[Settings]\n" + settings + "\n"));
}

TEST(SettingsCheck, RefusesWhatNoRunCanUseAndTakesTheRest) {
  const struct {
    std::string line;
    std::string problem;  // "" when the value is taken
  } cases[] = {
      {"TOCommand=30", ""},
      {"TOCommand=1", ""},
      {"TOCommand=3600", ""},
      {"TOCommand=", ""},  // empty counts as absent
      {"TOCommand= 45 ", ""},
      {"TOCommand=0", "TOCommand=0 is not 1 to 3600 seconds"},
      {"TOCommand=-5", "TOCommand=-5 is not 1 to 3600 seconds"},
      {"TOCommand=3601", "TOCommand=3601 is not 1 to 3600 seconds"},
      {"TOCommand=abc", "TOCommand=abc is not a whole number (1 to 3600 seconds)"},
      {"TOCommand=30s", "TOCommand=30s is not a whole number (1 to 3600 seconds)"},
      {"TOCommand=99999999999", "TOCommand=99999999999 is not a whole number (1 to 3600 seconds)"},
      {"TODataPacket=0", "TODataPacket=0 is not 1 to 3600 seconds"},
      {"TOMultiplier=0", ""},
      {"TOMultiplier=-1", "TOMultiplier=-1 is not 0 to 1000 ms per byte"},
      {"QuietWindow=0", ""},
      {"QuietWindow=500", ""},
      {"QuietWindow=1000", "QuietWindow=1000 is not 0 to 500 ms"},
      {"QuietWindow=-1", "QuietWindow=-1 is not 0 to 500 ms"},
      {"DeviceCode=1", ""},
      {"DeviceCode=+2", ""},
      {"DeviceCode=+-2", "DeviceCode=+-2 is not a whole number (1 or 2)"},
      {"DeviceCode=7", "DeviceCode=7 is not 1 or 2"},
      {"DeviceCode=0", "DeviceCode=0 is not 1 or 2"},
      // The switches keep "any number but 0 is on"; a word is no number.
      {"FileScramble=5", ""},
      {"EchoBack=yes", "EchoBack=yes is not a whole number"},
      {"COMPort=7", ""},
      {"COMPort=two", "COMPort=two is not a whole number"},
      {"BKTelRecordsMin=-1", ""},
      {"BKTelRecordsMin=1x", "BKTelRecordsMin=1x is not a whole number"},
      {"SafetyBackup=0", ""},
      {"VerifyRestore=on", "VerifyRestore=on is not a whole number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const std::vector<std::string> problems = ProblemsOf(c.line);
    if (c.problem.empty()) {
      EXPECT_TRUE(problems.empty()) << problems.front();
    } else {
      EXPECT_EQ(problems, std::vector<std::string>{c.problem});
    }
  }
}

// Every bad value is told, not only the first, so that one edit mends all.
TEST(SettingsCheck, NamesEveryBadValueWithItsFile) {
  testsupport::TempDir dir;
  const std::string ini = dir.File("Orgalink.ini");
  const std::string text = "[Settings]\nTOCommand=abc\nDeviceCode=7\nQuietWindow=100000\n";
  std::ofstream(ini) << text;
  SettingsFile file(FileLocations{ini, dir.File(""), dir.File("DATA")});
  EXPECT_EQ(SettingsProblemsText(file),
            "the settings file " + ini +
                ": DeviceCode=7 is not 1 or 2\n"
                "the settings file " +
                ini + ": TOCommand=abc is not a whole number (1 to 3600 seconds)\n" +
                "the settings file " + ini + ": QuietWindow=100000 is not 0 to 500 ms");
  // The lenient reading still fills the values, and a write back of them
  // leaves what the user wrote as it stands.
  std::string problem;
  ASSERT_TRUE(file.Save(file.Values(), problem)) << problem;
  EXPECT_EQ(testsupport::ReadFile(ini), text);
}

TEST(SettingsCheck, AFolderOrAGoodFileAsTheSettingsFile) {
  testsupport::TempDir dir;
  SettingsFile folder(FileLocations{dir.File(""), dir.File(""), dir.File("DATA")});
  EXPECT_EQ(folder.Problems(), std::vector<std::string>{"cannot be read: Is a directory"});
  const std::string ini = dir.File("Orgalink.ini");
  std::ofstream(ini) << "[Settings]\nTOCommand=45\nEchoBack=0\n";
  EXPECT_EQ(SettingsProblemsText(SettingsFile(FileLocations{ini, dir.File(""), dir.File("D")})),
            "");
  EXPECT_EQ(SettingsProblemsText(SettingsFile(FileLocations{dir.File("none.ini"), "", ""})), "");
}

}  // namespace
}  // namespace orgalink::ui
