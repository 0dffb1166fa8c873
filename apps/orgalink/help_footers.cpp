// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_footers.h"

#include <string>

namespace orgalink::cli {

namespace {

constexpr const char* kSettingsNote =
    "Values not given as options come from the settings file; one named with --settings must "
    "exist.";
constexpr const char* kExitNote =
    "Exit status: 0 on success; the communication's status code 1..15 or 17 on failure; 130 "
    "after Ctrl-C, 143 after SIGTERM; 70 for an internal fault; 2 for a usage error or a "
    "missing settings file or character table";
constexpr const char* kQuestionNote = "; 1 when the restore question was answered no";
constexpr const char* kVerifyNote =
    "; 18 when the organizer read back holds something else than the archive";
constexpr const char* kStreamsNote =
    "Results go to standard output; the instructions, the progress, success texts and failures "
    "to standard error.";

void Append(CLI::App& app, const char* name, const std::string& note) {
  CLI::App* command = app.get_subcommand(name);
  const std::string own = command->get_footer();
  command->footer(own.empty() ? note : own + "\n\n" + note);
}

}  // namespace

void AddHelpFooters(CLI::App& app) {
  const std::string exit = std::string(kSettingsNote) + " " + kExitNote;
  Append(app, "backup", exit + ".");
  Append(app, "emulate", exit + ".");
  Append(app, "restore", exit + kQuestionNote + kVerifyNote + ".");
  Append(app, "verify", exit + kVerifyNote + ".");
  Append(app, "diff",
         "Exit status: 0 when both hold the same records, 1 when they differ, 2 when "
         "either cannot be read.");
  Append(app, "run-mode", exit + kQuestionNote + ".");
  Append(app, "detect", kSettingsNote);
  app.footer(std::string(kStreamsNote) +
             " Exit status: 0 on success, 2 for a usage error; each command's --help tells "
             "the others.");
}

}  // namespace orgalink::cli
