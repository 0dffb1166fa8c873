// SPDX-License-Identifier: GPL-3.0-or-later
#include "communication.h"

#include <cstdio>
#include <memory>

#include "console_owner.h"
#include "exit_status.h"
#include "failure_report.h"
#include "platform/baud_rate.h"
#include "platform/file_system.h"
#include "platform/program_directory.h"
#include "preflight.h"
#include "session/session.h"
#include "settings_file.h"
#include "simulated_port.h"
#include "ui/exit_status.h"
#include "ui/instruction_texts.h"

namespace orgalink::cli {

namespace {

// What the user asked, as the session carries it: the request with the
// settings it settled on, and the flags that found the port, the settings
// and the tables, for a command printed to undo the run.
session::SessionRequest SessionRequestFor(const EngineOptions& options,
                                          const CommunicationRequest& request,
                                          const settings::RunSettings& settings,
                                          const std::string& settingsFile) {
  session::SessionRequest asked;
  asked.runMode = request.runMode;
  asked.application = settings.appliMode;
  asked.archive = request.fileName;
  asked.numberedArchive = request.numberedArchive;
  asked.safetyBackup = request.safetyBackup;
  asked.verifyAgainst = request.verifyAgainst;
  asked.planned = request.planned;
  // The dump files of RunModes 13 to 18 are written as well as read, so by
  // default they live with the other writable files: beside the settings
  // file, which is beside the program in a portable copy.
  asked.dumpDirectory =
      request.dumpDirectory.empty() ? platform::DirectoryOf(settingsFile) : request.dumpDirectory;
  asked.dataDirectory = platform::DataDirectory();
  asked.portFlag = options.port;
  if (!options.settingsFile.empty()) asked.settingsFlag = options.settingsFile;
  if (!options.dataDir.empty()) asked.dataDirFlag = options.dataDir;
  return asked;
}

// The simulated organizer of --port sim, paced and echoing as the run's
// settings say; null after saying why when it cannot be had.
std::unique_ptr<sim::InProcessOrganizer> SimulatedOrganizer(const std::string& port,
                                                            const settings::RunSettings& settings) {
  std::string error;
  auto simulated = OpenSimulatedPort(port, settings.echoBack != 0,
                                     platform::BaudFromText(settings.baudRate), error);
  if (!simulated) std::fprintf(stderr, "orgalink: the simulated organizer: %s\n", error.c_str());
  return simulated;
}

CommunicationResult Run(const EngineOptions& options, settings::RunSettings settings,
                        const std::string& settingsFile, const CommunicationRequest& request,
                        const Console& console, Interruptible& stop) {
  const bool simulatedPort = options.port && IsSimulatedPort(*options.port);
  const auto port = simulatedPort ? std::optional<ui::PortChoice>(ui::PortChoice{
                                        ui::PortChoice::Kind::Device, 0, *options.port})
                                  : ChosenPort(options, settings);
  if (!port) {
    std::fprintf(stderr,
                 "orgalink: --port must be 1..4, COM1..COM4, loop, sim, sim:E, sim:E+, sim:M "
                 "or a device path\n");
    return {false, 2, {}};
  }
  if (!stop.Watching()) return {false, ui::kExitInternalFault, {}};
  ApplyOptions(options, settings);
  session::PortSource source{*port, {}};
  std::unique_ptr<sim::InProcessOrganizer> simulated;
  if (simulatedPort) {
    simulated = SimulatedOrganizer(*options.port, settings);
    if (!simulated) return {false, 1, {}};
    source.opener = simulated->Opener();
  }
  if (request.portOpener) source.opener = request.portOpener;
  if (request.showInstructions && !options.quiet) PrintInstructions();

  session::Session run(settings, SessionRequestFor(options, request, settings, settingsFile),
                       std::move(source), platform::SystemClock::Instance(), stop.Token());
  ConsoleOwner owner(console, settings::ToInt(request.runMode), stop.Token(), !options.quiet);
  session::SessionOutcome outcome = run.Communicate(owner.Front());
  owner.Finish();
  const std::optional<platform::InterruptKind> interrupted = stop.Stop();
  ReportFailure(outcome.result, interrupted.has_value());
  const int exitCode = ExitCodeFor(outcome.result.status, interrupted);
  return {outcome.Ok(), exitCode, std::move(outcome), true};
}

}  // namespace

CommunicationResult Communicate(
    const EngineOptions& options, CommunicationRequest request, const Console& console,
    Interruptible& stop,
    const std::function<void(CommunicationRequest&, const settings::RunSettings&)>& settle) {
  if (const int refused = CheckNamedSettingsFile(options.settingsFile, false)) {
    return {false, refused, {}};
  }
  ui::SettingsFile file = LoadSettings(options);
  if (const int refused = CheckSettingsValues(file)) return {false, refused, {}};
  if (const int refused = CheckCharacterTables(platform::DataDirectory())) {
    return {false, refused, {}};
  }
  if (settle) settle(request, file.Values());
  if (const int refused = CheckArchiveFolder(request.runMode, request.fileName)) {
    return {false, refused, {}};
  }
  CommunicationResult result = Run(options, file.Values(), file.Path(), request, console, stop);
  // The run keeps nothing of its options; only a first run has anything to
  // write, the defaults. A run that went well but whose settings could not
  // be kept says so, as detect --save does.
  if (!SaveSettings(file, file.Values()) && result.exitCode == 0) {
    result.exitCode = kExitSettingsNotSaved;
  }
  return result;
}

void PrintInstructions() {
  std::fprintf(stderr, "%s\n\n%s\n", ui::kPowerCycleInstructions, ui::kProgressInstructionsTitle);
  for (const char* line : ui::kProgressInstructions) std::fprintf(stderr, "%s\n", line);
  std::fputc('\n', stderr);
}

}  // namespace orgalink::cli
