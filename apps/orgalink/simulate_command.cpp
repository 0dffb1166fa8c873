// SPDX-License-Identifier: GPL-3.0-or-later
// `orgalink simulate --pty`: the simulated organizer behind a real
// pseudo-terminal, so that this program, the dialog program or any other
// serial tool can talk to it as to a device.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "platform/private_folders.h"
#include "sim/pty_service.h"
#include "sim/sim_options.h"
#include "simulated_port.h"
#include "ui/archive_names.h"

namespace orgalink::cli {

namespace {

struct SimulateOptions {
  bool pty = false;
  std::string variant = "M";
  int echo = 1;
  std::vector<std::string> faults;
  std::string stateFile;
  bool reset = false;
};

bool MakeSimOptions(const SimulateOptions& o, sim::SimOptions& options, std::string& error) {
  const auto variant = sim::ParseVariant(o.variant);
  if (!variant) {
    error = "--variant must be E, E+ or M";
    return false;
  }
  options.variant = *variant;
  options.echo = o.echo != 0;
  for (const std::string& fault : o.faults) {
    if (!sim::ParseFault(fault, options.faults, error)) return false;
  }
  options.state_file = o.stateFile.empty() ? SimulatorStateFile() : o.stateFile;
  const std::string folder = ui::DirectoryOf(options.state_file);
  // A folder that cannot be made fails with the state file's own error.
  platform::MakePrivateFolders(folder);
  options.reset_to_sample = o.reset;
  return true;
}

int Simulate(const SimulateOptions& o) {
  if (!o.pty) {
    std::fprintf(stderr, "orgalink simulate: only --pty is offered; use --port sim elsewhere\n");
    return 2;
  }
  sim::SimOptions options;
  std::string error;
  if (!MakeSimOptions(o, options, error)) {
    std::fprintf(stderr, "orgalink simulate: %s\n", error.c_str());
    return 2;
  }
  const sim::PtyServeEnd end = sim::ServePtyUntilInterrupted(
      options,
      [&](const std::string& path) {
        // The first line is the device, flushed at once for scripts.
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
        std::fprintf(stderr, "Simulated Pellico (%s) on %s, contents in %s. Ctrl-C ends it.\n",
                     sim::VariantName(options.variant), path.c_str(), options.state_file.c_str());
      },
      error);
  if (end == sim::PtyServeEnd::Failed) {
    std::fprintf(stderr, "orgalink simulate: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

void AddSimulateCommand(CLI::App& app, CommandContext& context) {
  auto o = std::make_shared<SimulateOptions>();
  CLI::App* command = app.add_subcommand(
      "simulate", "Serve a simulated organizer on a pseudo-terminal until interrupted");
  command->add_flag("--pty", o->pty, "Serve a new pseudo-terminal; its path is the first line");
  command->add_option("--variant", o->variant, "E, E+ or M (default M)");
  command->add_option("--echo", o->echo, "1: echo every byte like the cable (default), 0: not")
      ->check(CLI::Range(0, 1));
  command->add_option("--fault", o->faults,
                      "checksum:N, nack:N, silence:N, hangup:N, noise:BYTES, slow:MS or "
                      "drop:N (repeatable)");
  command->add_option("--state", o->stateFile,
                      "File holding the organizer's contents between runs "
                      "(default: simulated_organizer.bkf beside the backup folder)");
  command->add_flag("--reset", o->reset, "Start again from the sample organizer");
  command->callback([o, &context] { context.exit_code = Simulate(*o); });
}

}  // namespace orgalink::cli
