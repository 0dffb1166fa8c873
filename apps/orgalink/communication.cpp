#include "communication.h"

#include <cstdio>
#include <memory>

#include "console_owner.h"
#include "exit_status.h"
#include "failure_report.h"
#include "interruptible.h"
#include "link/link_engine.h"
#include "operations/configure_run.h"
#include "operations/run_communication.h"
#include "platform/file_system.h"
#include "platform/program_directory.h"
#include "preflight.h"
#include "settings_file.h"
#include "simulated_port.h"
#include "store/appli_kind.h"
#include "store/appli_store.h"
#include "ui/exit_status.h"
#include "ui/instruction_texts.h"
#include "ui/safe_restore_texts.h"
#include "ui/settings.h"

namespace orgalink::cli {

namespace {

struct Tables {
  Tables() {
    store::LoadCodeTables(platform::DataDirectory(), chars.outgoing, chars.incoming);
    store::LoadSortTables(platform::DataDirectory(), chars.weights, chars.second);
  }
  store::CharTables chars;
};

CommunicationResult Run(const EngineOptions& options, settings::RunSettings settings,
                        const std::string& settingsFile, const CommunicationRequest& request,
                        const Console& console) {
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
  if (request.showInstructions && !options.quiet) PrintInstructions();

  const Tables tables;
  platform::Clock& clock = platform::SystemClock::Instance();
  store::AppliStore store;
  platform::CancelToken cancel;
  Interruptible interrupts(cancel);
  if (!interrupts.Watching()) return {false, ui::kExitInternalFault, request.fileName};
  link::LinkEngine engine(clock);
  engine.Link().SetAbortToken(cancel);
  engine.Link().SetPortOpener(ui::MakePortOpener(*port, settings.comDevices, clock));
  operations::RunContext run(engine);
  // The dump files of RunModes 13 to 18 are written as well as read, so by
  // default they live with the other writable files: beside the settings
  // file, which is beside the program in a portable copy.
  run.dumpDirectory =
      request.dumpDirectory.empty() ? platform::DirectoryOf(settingsFile) : request.dumpDirectory;
  ApplyOptions(options, settings);
  settings.runMode = request.runMode;
  settings.comPort = port->Number();
  settings.fileName = request.fileName;
  if (request.safetyBackup && settings.safetyBackup != 0) {
    ui::CreateBackupDir(settings);
    settings.safetyArchive = ui::SafetyArchivePath(settings.backupDir, clock);
  }
  settings.sortTable = &tables.chars.weights;
  settings.codeTable = &tables.chars.incoming;
  operations::ConfigureRun(run, store, settings);
  run.numberedArchive = request.numberedArchive;
  // The operations walk the applications in the current one.
  const int addressed = run.appliKind;
  if (request.readBack != nullptr) {
    run.received = request.readBack;
    store.GetAppliBuf(store::ArchiveSlots);
  }
  // The simulated organizer echoes and is paced as the run's settings say.
  std::unique_ptr<sim::InProcessOrganizer> simulated;
  if (simulatedPort) {
    std::string error;
    simulated = OpenSimulatedPort(*options.port, engine.Link().EchoBack() != 0,
                                  engine.Link().BaudRate(), error);
    if (!simulated) {
      std::fprintf(stderr, "orgalink: the simulated organizer: %s\n", error.c_str());
      return {false, 1, {}};
    }
    engine.Link().SetPortOpener(simulated->Opener());
  }
  ConsoleOwner owner(console, settings::ToInt(request.runMode), cancel, !options.quiet);

  const link::StepResult result = operations::RunCommunication(run, owner.Front(), request.runMode);
  owner.Finish();
  const std::optional<platform::InterruptKind> stop = interrupts.Stop();
  ReportFailure(result, stop.has_value());
  return {result.Ok(), ExitCodeFor(result.status, stop), run.fileName, run.safety, addressed};
}

}  // namespace

CommunicationResult Communicate(
    const EngineOptions& options, CommunicationRequest request, const Console& console,
    const std::function<void(CommunicationRequest&, const settings::RunSettings&)>& settle) {
  if (const int refused = CheckNamedSettingsFile(options.settingsFile, false)) {
    return {false, refused, {}};
  }
  ui::SettingsFile file = LoadSettings(options);
  if (const int refused = CheckCharacterTables(platform::DataDirectory())) {
    return {false, refused, {}};
  }
  if (settle) settle(request, file.Values());
  if (const int refused = CheckArchiveFolder(request.runMode, request.fileName)) {
    return {false, refused, {}};
  }
  const CommunicationResult result = Run(options, file.Values(), file.Path(), request, console);
  // The run keeps nothing of its options; only a first run has anything to
  // write, the defaults.
  SaveSettings(file, file.Values());
  return result;
}

void PrintInstructions() {
  std::fprintf(stderr, "%s\n\n%s\n", ui::kPowerCycleInstructions, ui::kProgressInstructionsTitle);
  for (const char* line : ui::kProgressInstructions) std::fprintf(stderr, "%s\n", line);
  std::fputc('\n', stderr);
}

}  // namespace orgalink::cli
