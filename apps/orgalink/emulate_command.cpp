// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink emulate: plays the organizer for a PC program on --port
// (RunMode 18), serving and keeping records in dump files.

#include <memory>

#include "commands.h"
#include "communication.h"

namespace orgalink::cli {

namespace {

struct EmulateOptions {
  std::string dumpDir;
  EngineOptions engine;
};

int Emulate(const EmulateOptions& options, Interruptible& stop) {
  return Communicate(options.engine,
                     {settings::RunMode::HandheldSide, {}, options.dumpDir, false, false},
                     Console(), stop)
      .exitCode;
}

}  // namespace

void AddEmulateCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<EmulateOptions>();
  CLI::App* sub = app.add_subcommand("emulate", "Play the organizer for a PC program on --port");
  sub->footer(
      "RunMode 18. The records the PC asks for come from the dump files <application>.snd "
      "(telephone.snd, schedule.snd, ...), the records it sends go to <application>.rcv, and the "
      "session ends with \"BYE!!\" when the PC ends it. The emulated organizer is the base model "
      "(variant E).");
  sub->add_option("--dump-dir", options->dumpDir,
                  "Folder of the dump files (default: the settings file's folder)");
  AddEngineOptions(*sub, options->engine);
  sub->callback([options, &context] { context.exit_code = Emulate(*options, context.stop); });
}

}  // namespace orgalink::cli
