// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink run-mode N: one communication of the given RunMode, with every
// setting taken from the settings file unless an option overrides it.

#include <memory>

#include "commands.h"
#include "communication.h"
#include "erase_confirmation.h"
#include "preflight.h"

namespace orgalink::cli {

namespace {

struct RunModeOptions {
  int number = 0;
  std::string file;
  std::string dumpDir;
  bool yes = false;
  EngineOptions engine;
};

int RunOneMode(const RunModeOptions& options, Interruptible& stop) {
  // A number no RunMode has, or an archive mode without its archive, is a
  // mistake on the command line: refused before anything is asked or opened.
  if (const int refused = CheckRunMode(options.number, options.file)) return refused;
  const Console console;
  const settings::RunMode runMode = settings::RunModeFromNumber(options.number);
  if (EmptiesOrganizer(runMode)) {
    if (const int refused = ConfirmEmptying(console, options.yes, stop)) return refused;
  }
  const CommunicationRequest request{runMode, options.file, options.dumpDir, false, false};
  return Communicate(options.engine, request, console, stop).exitCode;
}

}  // namespace

void AddRunModeCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<RunModeOptions>();
  CLI::App* sub = app.add_subcommand("run-mode", "Run one communication of the given RunMode");
  sub->footer(
      "RunModes: 0 negotiate; 1, 3, 5 back up into --file; 2, 4, 6 restore --file; 7, 8 back "
      "up into, restore --file without negotiating; 9 negotiate "
      "and send the --app application's records held in the store (none in a run of its own); "
      "10 send ACK and wait for a command; 11 send NACK; 12 send END_COMMUNICATION; 13, 17 send "
      "the --app application's dump file; 14 empty the --app application; 15, 16 receive the "
      "--app application into its dump file; 18 play the organizer (as emulate). RunModes 2, 4, "
      "6 and 14 ask first, as restore does.");
  sub->add_option("N", options->number, "RunMode 0..18")->required();
  sub->add_option("--file", options->file, "Archive of RunModes 1 to 8, which need one");
  sub->add_option("--dump-dir", options->dumpDir,
                  "Folder of the dump files <application>.snd / .rcv of RunModes 13 to 18 "
                  "(default: the settings file's folder)");
  sub->add_flag("--yes,-y", options->yes,
                "Empty the organizer (RunModes 2, 4, 6 and 14) without asking");
  AddEngineOptions(*sub, options->engine);
  sub->callback([options, &context] { context.exit_code = RunOneMode(*options, context.stop); });
}

}  // namespace orgalink::cli
