// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>

#include "interruptible.h"

namespace orgalink::cli {

// What every command is handed, and what the chosen one left for main() to
// return.
struct CommandContext {
  explicit CommandContext(Interruptible& interrupts) : stop(interrupts) {}
  // The program's signal watcher: its token stops whatever the command waits for.
  Interruptible& stop;
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
void AddHistoryCommand(CLI::App& app, CommandContext& context);
void AddPruneCommand(CLI::App& app, CommandContext& context);
void AddWatchCommand(CLI::App& app, CommandContext& context);

}  // namespace orgalink::cli
