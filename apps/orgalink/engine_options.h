// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "settings/run_settings.h"
#include "ui/port_choice.h"

namespace orgalink::cli {

// The options through which a command overrides the settings for one
// communication; each is empty unless the command line gave it, and what
// the command line leaves out comes from the settings file.
struct EngineOptions {
  std::optional<std::string> port;
  std::optional<int> deviceCode;
  std::optional<std::string> baud;
  std::optional<std::string> app;
  std::optional<std::string> log;
  std::optional<int> echo;
  std::optional<int> scramble;
  std::optional<long> toCommandSeconds;
  std::optional<long> toDataSeconds;
  std::optional<long> toMultiplier;
  std::optional<long> quietWindow;
  std::optional<int> telMin;
  std::string settingsFile;
  std::string dataDir;
  // Leave out the instructions and the progress, for scripts and cron.
  bool quiet = false;
};

// The options the port search uses: device code, baud rate, log, echo, the
// settings file and --quiet.
void AddLinkOptions(CLI::App& command, EngineOptions& options);

// Every option of a communication: the link options, the port, AppliMode,
// FileScramble, the time-outs, the quiet window, the Telephone minimum and
// the tables' folder.
void AddEngineOptions(CLI::App& command, EngineOptions& options);

// The port to talk to: --port when given (nothing when it names no usable
// port), else the settings' COMPort as it stands.
std::optional<ui::PortChoice> ChosenPort(const EngineOptions& options,
                                         const settings::RunSettings& settings);

// What is wrong with the values of the options given, as one line naming
// the option and the range it takes ("--to-command: -5 is not 1 to 3600
// seconds"); nothing when every value can be used. AddEngineOptions checks
// this as soon as the command line is parsed, so that a value no run can use
// ends with 2 before anything is printed or opened.
std::optional<std::string> OptionValueProblem(const EngineOptions& options);

// Lays the options the command line gave over the settings.
void ApplyOptions(const EngineOptions& options, settings::RunSettings& settings);

}  // namespace orgalink::cli
