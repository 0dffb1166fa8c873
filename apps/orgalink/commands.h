#pragma once

#include <CLI/CLI.hpp>

namespace orgalink::cli {

// What the chosen subcommand left for main() to return.
struct CommandContext {
  int exit_code = 0;
};

void AddBackupCommand(CLI::App& app, CommandContext& context);
void AddRestoreCommand(CLI::App& app, CommandContext& context);
void AddDetectCommand(CLI::App& app, CommandContext& context);
void AddEmulateCommand(CLI::App& app, CommandContext& context);
void AddRunModeCommand(CLI::App& app, CommandContext& context);
void AddInspectCommand(CLI::App& app, CommandContext& context);
void AddExportCommand(CLI::App& app, CommandContext& context);
void AddImportCommand(CLI::App& app, CommandContext& context);
void AddPortsCommand(CLI::App& app, CommandContext& context);
void AddSimulateCommand(CLI::App& app, CommandContext& context);
void AddVerifyCommand(CLI::App& app, CommandContext& context);
void AddDiffCommand(CLI::App& app, CommandContext& context);

}  // namespace orgalink::cli
