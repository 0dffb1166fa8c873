// orgalink: back up and restore the organizer from the command line.

#include <CLI/CLI.hpp>

#include "commands.h"

int main(int argc, char** argv) {
  CLI::App app{"orgalink - backup and restore for the Pellico organizer over a serial cable"};
  app.require_subcommand(1);
  orgalink::cli::CommandContext context;
  orgalink::cli::AddRunModeCommand(app, context);
  orgalink::cli::AddInspectCommand(app, context);
  orgalink::cli::AddPortsCommand(app, context);
  orgalink::cli::AddSimulateCommand(app, context);
  CLI11_PARSE(app, argc, argv);
  return context.exit_code;
}
