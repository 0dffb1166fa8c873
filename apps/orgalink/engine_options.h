#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "operations/run_settings.h"
#include "store/code_tables.h"
#include "ui/port_choice.h"
#include "ui/settings.h"

namespace orgalink::cli {

// The options through which a command overrides the settings file for one
// communication. What the command line leaves out comes from the file.
struct EngineOptions {
  std::string port;
  int deviceCode = 2;
  std::string baud = "19200";
  std::string app = "ALL";
  std::string log;
  int echo = 1;
  int scramble = 1;
  long toCommandSeconds = 30;
  long toDataSeconds = 30;
  long toMultiplier = 0;
  long quietWindow = ui::kDefaultQuietWindow;
  int telMin = 1;
  std::string settingsFile;
  std::string dataDir;

  // Which of them the command line gave; null for options a command lacks.
  struct Given {
    CLI::Option* port = nullptr;
    CLI::Option* deviceCode = nullptr;
    CLI::Option* log = nullptr;
    CLI::Option* echo = nullptr;
    CLI::Option* scramble = nullptr;
    CLI::Option* toCommand = nullptr;
    CLI::Option* toData = nullptr;
    CLI::Option* toMultiplier = nullptr;
    CLI::Option* quietWindow = nullptr;
    CLI::Option* telMin = nullptr;
  } given;
};

// The options the port search uses: device code, baud rate, log, echo and
// the settings file.
void AddLinkOptions(CLI::App& command, EngineOptions& options);

// Every option of a communication: the link options, the port, AppliMode,
// FileScramble, the time-outs, the quiet window, the Telephone minimum and
// the tables' folder.
void AddEngineOptions(CLI::App& command, EngineOptions& options);

// Whether the command line gave the option behind `handle`.
inline bool Given(const CLI::Option* handle) {
  return handle != nullptr && handle->count() > 0;
}

// The port to talk to: --port when given (nothing when it names no usable
// port), else the settings file's COMPort as it stands.
std::optional<ui::PortChoice> ChosenPort(const EngineOptions& options, const ui::Settings& file);

// The settings file's values with the command line's overrides, for one
// communication of `runMode` on the port numbered `portNumber`.
operations::RunSettings MakeRunSettings(const EngineOptions& options, const ui::Settings& file,
                                        int runMode, int portNumber,
                                        const store::CharTables& tables);

}  // namespace orgalink::cli
