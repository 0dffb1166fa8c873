#include "engine_options.h"

#include <algorithm>
#include <climits>

namespace orgalink::cli {

namespace {

// Seconds as given on the command line, in milliseconds. Values no deadline
// can hold stay out of reach of an overflow; the engine cuts them further.
long SecondsToMs(long seconds) {
  constexpr long kLimit = LONG_MAX / 1000;
  return std::clamp(seconds, -kLimit, kLimit) * 1000;
}

}  // namespace

void AddLinkOptions(CLI::App& command, EngineOptions& o) {
  o.given.deviceCode = command.add_option("--device-code", o.deviceCode,
                                          "DeviceCode: 1 for device code 1, anything else 2");
  command.add_option("--baud", o.baud, "BaudRate: 9600, 19200, 38400, 57600 or 115200");
  o.given.log = command.add_option("--log", o.log, "Communication log file");
  o.given.echo = command
                     .add_option("--echo", o.echo,
                                 "EchoBack: 1 when the cable returns every "
                                 "byte written, 0 when it does not")
                     ->check(CLI::Range(0, 1));
  command.add_option("--settings", o.settingsFile,
                     "Settings file (default: Orgalink.ini beside the program if one is there, "
                     "else in ~/.config/orgalink/)");
}

void AddEngineOptions(CLI::App& command, EngineOptions& o) {
  o.given.port = command.add_option(
      "--port", o.port,
      "1..4 (COM1..COM4), a device path, loop (a loopback plug), or sim, sim:E, sim:E+, sim:M "
      "(the simulated organizer)");
  AddLinkOptions(command, o);
  command.add_option("--app", o.app,
                     "AppliMode: ALL, Telephone, Schedule, Anniversary, To Do, Memo, Expense, "
                     "Expense Category");
  o.given.scramble =
      command.add_option("--scramble", o.scramble, "FileScramble 0|1")->check(CLI::Range(0, 1));
  o.given.toCommand =
      command.add_option("--to-command", o.toCommandSeconds, "Command time-out, seconds");
  o.given.toData =
      command.add_option("--to-data", o.toDataSeconds, "Data packet time-out, seconds");
  o.given.toMultiplier =
      command.add_option("--to-multiplier", o.toMultiplier, "Per-byte time-out, ms");
  o.given.quietWindow = command.add_option("--quiet-window", o.quietWindow,
                                           "Quiet input before a write, ms (default 10)");
  o.given.telMin = command.add_option("--tel-min", o.telMin, "BKTelRecordsMin");
  command.add_option("--data-dir", o.dataDir, "Folder of code.dat and sort.dat");
}

std::optional<ui::PortChoice> ChosenPort(const EngineOptions& options, const ui::Settings& file) {
  // The option must name a usable port; the file's number is handed over as
  // it stands, like every settings value, and a bad one fails at the open.
  if (Given(options.given.port)) return ui::ParsePortChoice(options.port);
  return ui::PortChoice{ui::PortChoice::Kind::Com, file.comPort, {}};
}

operations::RunSettings MakeRunSettings(const EngineOptions& o, const ui::Settings& file,
                                        int runMode, int portNumber,
                                        const store::CharTables& tables) {
  const EngineOptions::Given& given = o.given;
  operations::RunSettings s;
  s.runMode = runMode;
  s.deviceCode = Given(given.deviceCode) ? o.deviceCode : file.deviceCode;
  s.comPort = portNumber;
  s.baudRate = o.baud;
  s.appliMode = o.app;
  s.logFileName = Given(given.log) ? o.log : file.logFileName;
  s.echoBack = Given(given.echo) ? o.echo : file.echoBack;
  s.fileScramble = Given(given.scramble) ? o.scramble : file.fileScramble;
  s.toCommand = Given(given.toCommand) ? SecondsToMs(o.toCommandSeconds) : file.toCommand;
  s.toDataPacket = Given(given.toData) ? SecondsToMs(o.toDataSeconds) : file.toDataPacket;
  s.toMultiplier = Given(given.toMultiplier) ? o.toMultiplier : file.toMultiplier;
  s.quietWindow = Given(given.quietWindow) ? o.quietWindow : file.quietWindow;
  s.sortTable = &tables.weights;
  s.codeTable = &tables.incoming;
  s.bkTelRecordsMin = Given(given.telMin) ? o.telMin : file.bkTelRecordsMin;
  return s;
}

}  // namespace orgalink::cli
