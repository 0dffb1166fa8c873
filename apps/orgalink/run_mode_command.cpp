// orgalink run-mode N: one communication of the given RunMode, with every
// setting taken from the settings file unless an option overrides it.

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <memory>
#include <optional>

#include "commands.h"
#include "console_owner.h"
#include "link/link_engine.h"
#include "link/messages.h"
#include "operations/configure_run.h"
#include "operations/run_communication.h"
#include "platform/file_system.h"
#include "platform/interrupt_signals.h"
#include "platform/program_directory.h"
#include "store/appli_store.h"
#include "store/code_tables.h"
#include "ui/end_notice.h"
#include "ui/exit_status.h"
#include "ui/file_locations.h"
#include "ui/port_choice.h"
#include "ui/settings.h"

namespace orgalink::cli {
namespace {

struct RunModeOptions {
  int runMode = 0;
  std::string port;
  int deviceCode = 2;
  std::string baud = "19200";
  std::string app = "ALL";
  std::string file;
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
};

struct OptionHandles {
  CLI::Option* port;
  CLI::Option* deviceCode;
  CLI::Option* log;
  CLI::Option* echo;
  CLI::Option* scramble;
  CLI::Option* toCommand;
  CLI::Option* toData;
  CLI::Option* toMultiplier;
  CLI::Option* quietWindow;
  CLI::Option* telMin;
};

// Seconds as given on the command line, in milliseconds. Values no deadline
// can hold stay out of reach of an overflow; the engine cuts them further.
long SecondsToMs(long seconds) {
  constexpr long kLimit = LONG_MAX / 1000;
  return std::clamp(seconds, -kLimit, kLimit) * 1000;
}

// Settings file values, overridden by the options given on the command line.
operations::RunSettings MakeRunSettings(const RunModeOptions& o, const OptionHandles& given,
                                        const ui::Settings& file, int portNumber,
                                        const store::CharTables& tables) {
  operations::RunSettings s;
  s.runMode = o.runMode;
  s.deviceCode = given.deviceCode->count() ? o.deviceCode : file.deviceCode;
  s.comPort = portNumber;
  s.baudRate = o.baud;
  s.appliMode = o.app;
  s.fileName = o.file;
  s.logFileName = given.log->count() ? o.log : file.logFileName;
  s.echoBack = given.echo->count() ? o.echo : file.echoBack;
  s.fileScramble = given.scramble->count() ? o.scramble : file.fileScramble;
  s.toCommand = given.toCommand->count() ? SecondsToMs(o.toCommandSeconds) : file.toCommand;
  s.toDataPacket = given.toData->count() ? SecondsToMs(o.toDataSeconds) : file.toDataPacket;
  s.toMultiplier = given.toMultiplier->count() ? o.toMultiplier : file.toMultiplier;
  s.quietWindow = given.quietWindow->count() ? o.quietWindow : file.quietWindow;
  s.sortTable = &tables.weights;
  s.codeTable = &tables.incoming;
  s.bkTelRecordsMin = given.telMin->count() ? o.telMin : file.bkTelRecordsMin;
  return s;
}

// RunMode travels as one byte. A number that does not fit is an unknown
// RunMode, not whichever mode its low byte happens to name.
std::uint8_t RunModeByte(int run_mode) {
  return run_mode >= 0 && run_mode <= 0xFF ? static_cast<std::uint8_t>(run_mode) : 0xFF;
}

// Which signal asked the run to stop, if any; the first one counts.
class StopRequest {
 public:
  void Note(platform::InterruptKind kind) {
    int none = kNone;
    kind_.compare_exchange_strong(none, static_cast<int>(kind));
  }
  std::optional<platform::InterruptKind> Kind() const {
    const int kind = kind_.load();
    if (kind == kNone) return std::nullopt;
    return static_cast<platform::InterruptKind>(kind);
  }

 private:
  static constexpr int kNone = -1;
  std::atomic<int> kind_{kNone};
};

void ReportFailure(link::LinkStatus status, bool stop_requested, const link::LinkEngine& engine) {
  if (status == link::LinkOk) return;
  if (status == link::LinkAborted && !stop_requested) {
    std::fprintf(stderr,
                 "orgalink: internal fault: the run ended as aborted, "
                 "but no abort was requested\n");
    return;
  }
  if (const auto notice = ui::EndNoticeFor(status)) {
    std::fprintf(stderr, "%s\n", notice->text.c_str());
  }
  if (!engine.OpenError().empty()) std::fprintf(stderr, "(%s)\n", engine.OpenError().c_str());
}

int RunOneCommunication(const RunModeOptions& options, const OptionHandles& given) {
  if (!options.dataDir.empty()) platform::SetDataDirectory(options.dataDir);
  const ui::FileLocations where =
      ui::LocateFiles(ui::CurrentUserEnvironment(), options.settingsFile);
  const std::string& iniPath = where.settingsFile;
  const ui::Settings file = ui::ReadSettings(where);
  // The option must name a usable port; the file's number is handed over as
  // it stands, like every settings value, and a bad one fails at the open.
  const auto port = given.port->count()
                        ? ui::ParsePortChoice(options.port)
                        : ui::PortChoice{ui::PortChoice::Kind::Com, file.comPort, {}};
  if (!port) {
    std::fprintf(stderr, "orgalink: --port must be 1..4, COM1..COM4, loop or a device path\n");
    return 2;
  }

  store::CharTables tables;
  store::LoadCodeTables(platform::DataDirectory(), tables.outgoing, tables.incoming);
  store::LoadSortTables(platform::DataDirectory(), tables.weights, tables.second);

  platform::Clock& clock = platform::SystemClock::Instance();
  store::AppliStore store;
  link::LinkEngine engine(clock);
  engine.SetPortOpener(ui::MakePortOpener(*port, iniPath, clock));
  operations::RunContext run(engine);
  // The dump files of RunModes 13 to 18 are written as well as read, so they
  // live with the other writable files: beside the settings file, which is
  // beside the program in a portable copy.
  run.dumpDirectory = platform::DirectoryOf(iniPath);
  operations::ConfigureRun(run, store,
                           MakeRunSettings(options, given, file, port->Number(), tables));
  ConsoleOwner owner("orgalink");

  // The communication runs on this thread, whose queue exists before the
  // first signal can arrive: an interrupt is never lost and reaches the
  // run's waits as the dialog's abort request would.
  const std::shared_ptr<platform::MessageQueue> queue = platform::CurrentThreadQueue();
  auto stop = std::make_shared<StopRequest>();
  platform::InterruptSignals interrupts([queue, stop](platform::InterruptKind kind) {
    stop->Note(kind);
    queue->Post({link::WM_LINK_ABORT, 0, 0});
  });
  const link::LinkStatus status =
      operations::RunCommunication(run, &owner, RunModeByte(options.runMode));
  ReportFailure(status, stop->Kind().has_value(), engine);
  return ui::ExitStatusFor(status, stop->Kind());
}

}  // namespace

void AddRunModeCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<RunModeOptions>();
  auto handles = std::make_shared<OptionHandles>();
  CLI::App* sub = app.add_subcommand("run-mode", "Run one communication of the given RunMode");
  sub->add_option("N", options->runMode, "RunMode (0..18: 1 backup, 2 restore, 10..12 steps)")
      ->required();
  handles->port =
      sub->add_option("--port", options->port, "1..4 (COM1..COM4), loop, or a device path");
  handles->deviceCode = sub->add_option("--device-code", options->deviceCode, "DeviceCode");
  sub->add_option("--baud", options->baud, "BaudRate text (default 19200)");
  sub->add_option("--app", options->app, "AppliMode: ALL, Schedule, Telephone, ...");
  sub->add_option("--file", options->file, "Archive or dump file");
  handles->log = sub->add_option("--log", options->log, "Communication log file");
  handles->echo = sub->add_option("--echo", options->echo, "EchoBack 0|1")->check(CLI::Range(0, 1));
  handles->scramble =
      sub->add_option("--scramble", options->scramble, "FileScramble 0|1")->check(CLI::Range(0, 1));
  handles->toCommand =
      sub->add_option("--to-command", options->toCommandSeconds, "Command time-out, seconds");
  handles->toData =
      sub->add_option("--to-data", options->toDataSeconds, "Data packet time-out, seconds");
  handles->toMultiplier =
      sub->add_option("--to-multiplier", options->toMultiplier, "Per-byte time-out, ms");
  handles->quietWindow = sub->add_option("--quiet-window", options->quietWindow,
                                         "Quiet input before a write, ms (default 10)");
  handles->telMin = sub->add_option("--tel-min", options->telMin, "BKTelRecordsMin");
  sub->add_option("--settings", options->settingsFile,
                  "Settings file (default: Orgalink.ini beside the program if one is there, "
                  "else in ~/.config/orgalink/)");
  sub->add_option("--data-dir", options->dataDir, "Folder of code.dat and sort.dat");
  sub->callback([options, handles, &context] {
    context.exit_code = RunOneCommunication(*options, *handles);
  });
}

}  // namespace orgalink::cli
