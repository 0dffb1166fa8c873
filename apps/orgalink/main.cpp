// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink: back up and restore the organizer from the command line.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <new>

#include "commands.h"
#include "help_footers.h"
#include "parse_failure.h"
#include "platform/interrupt_signals.h"
#include "platform/standard_descriptors.h"
#include "ui/exit_status.h"
#include "unknown_command.h"

#ifndef ORGALINK_VERSION
#define ORGALINK_VERSION "unknown"
#endif

namespace {
constexpr int kExitUsage = 2;
}

int main(int argc, char** argv) {
  orgalink::platform::EnsureStandardDescriptors();
  // Before any thread starts (the simulated organizer's, say), so that none
  // of them can be killed by Ctrl-C or SIGTERM in the middle of a run.
  orgalink::platform::HoldInterruptSignals();
  CLI::App app{"orgalink - backup and restore for the Pellico organizer over a serial cable"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "orgalink " ORGALINK_VERSION);
  // As in common Unix tools, an option given twice takes its last value.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  // The one signal watcher of the program: every command gets its token.
  orgalink::cli::Interruptible interrupts;
  orgalink::cli::CommandContext context(interrupts);
  orgalink::cli::AddBackupCommand(app, context);
  orgalink::cli::AddRestoreCommand(app, context);
  orgalink::cli::AddDetectCommand(app, context);
  orgalink::cli::AddEmulateCommand(app, context);
  orgalink::cli::AddRunModeCommand(app, context);
  orgalink::cli::AddInspectCommand(app, context);
  orgalink::cli::AddExportCommand(app, context);
  orgalink::cli::AddImportCommand(app, context);
  orgalink::cli::AddPortsCommand(app, context);
  orgalink::cli::AddSimulateCommand(app, context);
  orgalink::cli::AddVerifyCommand(app, context);
  orgalink::cli::AddDiffCommand(app, context);
  orgalink::cli::AddHistoryCommand(app, context);
  orgalink::cli::AddPruneCommand(app, context);
  orgalink::cli::AddWatchCommand(app, context);
  orgalink::cli::AddHelpFooters(app);
  app.failure_message(orgalink::cli::ParseFailureMessage);
  if (orgalink::cli::RefuseUnknownCommand(app, argc, argv)) return kExitUsage;
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // --help and --version end here with 0; a command line that cannot be
    // understood is a usage error, 2, as in common Unix tools.
    return app.exit(error) == 0 ? 0 : kExitUsage;
  } catch (const std::bad_alloc&) {
    std::fputs("orgalink: out of memory\n", stderr);
    return orgalink::ui::kExitInternalFault;
  }
  // A command that a signal cut short ends with the signal's status, as
  // shells expect, whatever its own failure was (a read that stopped).
  if (const auto stop = interrupts.Stop(); stop && context.exit_code != 0) {
    return orgalink::platform::ExitStatusFor(*stop);
  }
  return context.exit_code;
}
