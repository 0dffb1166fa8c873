// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine_options.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "store/appli_kind.h"
#include "ui/settings_check.h"

namespace orgalink::cli {

namespace {

// Seconds as given on the command line, in milliseconds. Values no deadline
// can hold stay out of reach of an overflow; the engine cuts them further.
long SecondsToMs(long seconds) {
  constexpr long kLimit = LONG_MAX / 1000;
  return std::clamp(seconds, -kLimit, kLimit) * 1000;
}

// The AppliMode names in the order users meet the applications, ALL first.
std::vector<std::string> AppliModeNames() {
  std::vector<std::string> names{store::AppliModeName(store::AllApplis)};
  for (const std::uint8_t kind :
       {store::Telephone, store::Schedule, store::Anniversary, store::ToDo, store::Memo,
        store::Expense, store::ExpenseCategory}) {
    names.emplace_back(store::AppliModeName(kind));
  }
  return names;
}

std::optional<std::string> Checked(const std::optional<long>& given,
                                   const ui::SettingRange& range) {
  if (!given) return std::nullopt;
  const std::optional<std::string> wrong = ui::OutOfRange(range, *given);
  if (!wrong) return std::nullopt;
  return std::string(range.option) + ": " + *wrong;
}

template <typename Value, typename Held>
void Override(const std::optional<Value>& given, Held& held) {
  if (given) held = *given;
}

}  // namespace

void AddLinkOptions(CLI::App& command, EngineOptions& o) {
  // The settings file keeps its own rule (anything but 1 is 2); a typed
  // value other than these is a mistake worth hearing about.
  command.add_option("--device-code", o.deviceCode, "DeviceCode: 1 or 2")
      ->check(CLI::IsMember({1, 2}));
  // A rate the engine does not know would silently become 19200.
  command.add_option("--baud", o.baud, "BaudRate: 9600, 19200, 38400, 57600 or 115200")
      ->check(CLI::IsMember({"9600", "19200", "38400", "57600", "115200"}));
  command.add_option("--log", o.log, "Communication log file");
  command
      .add_option("--echo", o.echo,
                  "EchoBack: 1 when the cable returns every "
                  "byte written, 0 when it does not")
      ->check(CLI::Range(0, 1));
  command.add_option("--settings", o.settingsFile,
                     "Settings file, which must exist (default: Orgalink.ini beside the program "
                     "if one is there, else in ~/.config/orgalink/)");
  command.add_flag("--quiet,-q", o.quiet,
                   "Leave out the instructions, the progress and the success texts: nothing "
                   "on standard error unless the command fails, and a backup that goes well "
                   "prints nothing at all; other commands still print their results");
}

void AddEngineOptions(CLI::App& command, EngineOptions& o) {
  command.add_option(
      "--port", o.port,
      "1..4 (COM1..COM4), a device path, loop (a loopback plug), or sim, sim:E, sim:E+, sim:M "
      "(the simulated organizer)");
  AddLinkOptions(command, o);
  // An unknown name would reach the engine, which passes over it and works
  // on Schedule; any case is taken and handed on as the table spells it.
  command
      .add_option("--app", o.app,
                  "AppliMode, in any case: ALL, Telephone, Schedule, Anniversary, To Do, Memo, "
                  "Expense, Expense Category")
      ->transform(CLI::IsMember(AppliModeNames(), CLI::ignore_case));
  command.add_option("--scramble", o.scramble, "FileScramble 0|1")->check(CLI::Range(0, 1));
  command.add_option("--to-command", o.toCommandSeconds,
                     "Command time-out, " + ui::RangeText(ui::kTOCommandRange));
  command.add_option("--to-data", o.toDataSeconds,
                     "Data packet time-out, " + ui::RangeText(ui::kTODataPacketRange));
  command.add_option("--to-multiplier", o.toMultiplier,
                     "Per-byte time-out, " + ui::RangeText(ui::kTOMultiplierRange) + " (0: off)");
  command.add_option(
      "--quiet-window", o.quietWindow,
      "Quiet input before a write, " + ui::RangeText(ui::kQuietWindowRange) + " (default 10)");
  command.add_option("--tel-min", o.telMin,
                     "BKTelRecordsMin: from the base model, a Telephone transfer of 1 to N "
                     "records counts as cut short");
  command.add_option("--data-dir", o.dataDir, "Folder of code.dat and sort.dat");
  // Once the command line is read and before the command runs, so that no
  // instruction is printed and no port opened for a value no run can use.
  // The command's only parse-complete slot: a command needing one too must
  // call OptionValueProblem itself.
  command.parse_complete_callback([&o] {
    if (const std::optional<std::string> problem = OptionValueProblem(o)) {
      throw CLI::ValidationError("orgalink: " + *problem);
    }
  });
}

std::optional<ui::PortChoice> ChosenPort(const EngineOptions& options,
                                         const settings::RunSettings& settings) {
  // The option must name a usable port; the file's number is handed over as
  // it stands, like every settings value, and a bad one fails at the open.
  if (options.port) return ui::ParsePortChoice(*options.port);
  return ui::PortChoice{ui::PortChoice::Kind::Com, settings.comPort, {}};
}

std::optional<std::string> OptionValueProblem(const EngineOptions& o) {
  for (const auto& [given, range] : {std::pair{o.toCommandSeconds, ui::kTOCommandRange},
                                     std::pair{o.toDataSeconds, ui::kTODataPacketRange},
                                     std::pair{o.toMultiplier, ui::kTOMultiplierRange},
                                     std::pair{o.quietWindow, ui::kQuietWindowRange}}) {
    if (std::optional<std::string> problem = Checked(given, range)) return problem;
  }
  return std::nullopt;
}

void ApplyOptions(const EngineOptions& o, settings::RunSettings& s) {
  Override(o.deviceCode, s.deviceCode);
  Override(o.baud, s.baudRate);
  Override(o.app, s.appliMode);
  Override(o.log, s.logFileName);
  Override(o.echo, s.echoBack);
  Override(o.scramble, s.fileScramble);
  if (o.toCommandSeconds) s.toCommand = SecondsToMs(*o.toCommandSeconds);
  if (o.toDataSeconds) s.toDataPacket = SecondsToMs(*o.toDataSeconds);
  Override(o.toMultiplier, s.toMultiplier);
  Override(o.quietWindow, s.quietWindow);
  Override(o.telMin, s.bkTelRecordsMin);
}

}  // namespace orgalink::cli
