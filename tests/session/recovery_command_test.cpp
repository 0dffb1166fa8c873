// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/recovery_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ui/shell_word.h"

namespace orgalink {
namespace {

TEST(ShellWord, QuotesWhatAShellWouldSplitOrExpand) {
  const struct {
    const char* word;
    const char* quoted;
  } cases[] = {
      {"/home/me/DATA/a.bkf", "/home/me/DATA/a.bkf"},
      {"COM1", "COM1"},
      {"sim:E+", "sim:E+"},
      {"/home/me/my backups/a.bkf", "'/home/me/my backups/a.bkf'"},
      {"Expense Category", "'Expense Category'"},
      {"it's", "'it'\\''s'"},
      {"$HOME", "'$HOME'"},
      {"~/a", "'~/a'"},
      {"", "''"},
  };
  for (const auto& c : cases) EXPECT_EQ(ui::ShellWord(c.word), c.quoted) << c.word;
}

TEST(RecoveryCommand, NamesTheSameApplicationPortAndSettings) {
  const std::string here = std::filesystem::current_path().string();
  session::SessionRequest all;
  EXPECT_EQ(session::RecoveryCommand(all, "/d/before.bkf"), "orgalink restore --yes /d/before.bkf");

  session::SessionRequest one;
  one.application = "Expense Category";
  one.portFlag = "/dev/ttyUSB0";
  one.settingsFlag = "o.ini";
  one.dataDirFlag = "/usr/share/orgalink/";
  EXPECT_EQ(session::RecoveryCommand(one, "my backups/before.bkf"),
            "orgalink restore --yes --app 'Expense Category' --port /dev/ttyUSB0 --settings " +
                ui::ShellWord(here + "/o.ini") + " --data-dir /usr/share/orgalink/ " +
                ui::ShellWord(here + "/my backups/before.bkf"));
}

}  // namespace
}  // namespace orgalink
