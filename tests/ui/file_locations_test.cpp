// SPDX-License-Identifier: GPL-3.0-or-later
// Where the settings file, the default log and the default backup folder live.

#include "ui/file_locations.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace orgalink::ui {
namespace {

TEST(FileLocations, PortableCopyOrTheUsersFolders) {
  testsupport::TempDir installed;  // no Orgalink.ini beside the program
  testsupport::TempDir portable;
  std::ofstream(portable.File("Orgalink.ini")) << "[Settings]\n";
  const std::string bin = installed.File("");
  const std::string here = portable.File("");
  const struct {
    const char* name;
    UserEnvironment env;
    std::string settingsFile, logDirectory, backupDir;
  } rows[] = {
      {"home defaults",
       {bin, "/home/me", "", ""},
       "/home/me/.config/orgalink/Orgalink.ini",
       "/home/me/.local/state/orgalink/",
       "/home/me/.local/share/orgalink/DATA"},
      {"XDG folders",
       {bin, "/home/me", "/cfg/", "/data", "/state"},
       "/cfg/orgalink/Orgalink.ini",
       "/state/orgalink/",
       "/data/orgalink/DATA"},
      {"relative XDG folders are ignored",
       {bin, "/home/me", "cfg", "data", "state"},
       "/home/me/.config/orgalink/Orgalink.ini",
       "/home/me/.local/state/orgalink/",
       "/home/me/.local/share/orgalink/DATA"},
      {"an Orgalink.ini beside the program wins",
       {here, "/home/me", "/cfg", "/data"},
       here + "Orgalink.ini",
       here,
       here + "DATA"},
      {"no home at all: beside the program",
       {bin, "", "", ""},
       bin + "Orgalink.ini",
       bin,
       bin + "DATA"},
      {"only a config folder",
       {bin, "", "/cfg", ""},
       "/cfg/orgalink/Orgalink.ini",
       "/cfg/orgalink/",
       bin + "DATA"},
  };
  for (const auto& row : rows) {
    const FileLocations where = LocateFiles(row.env);
    EXPECT_EQ(where.settingsFile, row.settingsFile) << row.name;
    EXPECT_EQ(where.logDirectory, row.logDirectory) << row.name;
    EXPECT_EQ(where.backupDir, row.backupDir) << row.name;
  }
}

// A settings file named on the command line replaces the one found, and a
// log without a folder goes beside it; the backups stay where they were.
TEST(FileLocations, ANamedSettingsFileOverrides) {
  testsupport::TempDir portable;
  std::ofstream(portable.File("Orgalink.ini")) << "[Settings]\n";
  const UserEnvironment env{portable.File(""), "/home/me", "", ""};
  const FileLocations named = LocateFiles(env, "/tmp/run/test.ini");
  EXPECT_EQ(named.settingsFile, "/tmp/run/test.ini");
  EXPECT_EQ(named.logDirectory, "/tmp/run/");
  EXPECT_EQ(named.backupDir, portable.File("DATA"));
  EXPECT_EQ(LocateFiles(env, "test.ini").logDirectory, "");
  EXPECT_EQ(LocateFiles(env, "").settingsFile, portable.File("Orgalink.ini"));
}

}  // namespace
}  // namespace orgalink::ui
