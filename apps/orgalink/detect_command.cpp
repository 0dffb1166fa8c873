// orgalink detect [--save]: looks for the organizer on COM1..COM4 as the
// settings file's [Ports] section maps them.

#include <cstdio>
#include <memory>

#include "commands.h"
#include "exit_status.h"
#include "interruptible.h"
#include "link/auto_detect.h"
#include "link/link_engine.h"
#include "operations/configure_run.h"
#include "settings_file.h"
#include "ui/exit_status.h"
#include "ui/instruction_texts.h"
#include "ui/port_choice.h"
#include "ui/status_messages.h"

namespace orgalink::cli {

namespace {

struct DetectOptions {
  bool save = false;
  EngineOptions engine;
};

// The Auto Detect dialog on the console: it names each port as the search
// reaches it.
class DetectProgress : public link::ProgressSink {
 public:
  void Report(const link::ProgressEvent& event) override {
    if (event.kind != link::ProgressKind::DetectChecking) return;
    std::fprintf(stderr, "%s\n", ui::CheckingPortText(event.value).c_str());
  }
};

// Nothing when the search could not be made interruptible.
std::optional<link::LinkStatus> Search(const operations::RunSettings& settings,
                                       std::optional<platform::InterruptKind>& stop) {
  platform::Clock& clock = platform::SystemClock::Instance();
  platform::CancelToken cancel;
  Interruptible interrupts(cancel);
  if (!interrupts.Watching()) return std::nullopt;
  link::LinkEngine engine(clock);
  engine.SetAbortToken(cancel);
  engine.SetPortOpener(ui::MakePortOpener(ui::PortChoice{}, settings.comDevices, clock));
  operations::ConfigureSearchLink(engine, settings);
  DetectProgress progress;
  const link::LinkStatus result = link::AutoDetect(engine, &progress);
  stop = interrupts.Stop();
  return result;
}

int Detect(const DetectOptions& options) {
  ui::SettingsFile file = LoadSettings(options.engine);
  // What --save may change; the options serve this search alone.
  operations::RunSettings kept = file.Values();
  operations::RunSettings search = kept;
  ApplyOptions(options.engine, search);
  std::fprintf(stderr, "%s\n%s\n\n%s\n", ui::kDetectInstructions[0], ui::kDetectInstructions[1],
               ui::kDetectInProgress);
  std::optional<platform::InterruptKind> stop;
  const std::optional<link::LinkStatus> searched = Search(search, stop);
  if (!searched) return ui::kExitInternalFault;
  const link::LinkStatus result = *searched;
  const int port = link::ToInt(result);
  const bool found = port >= 1 && port <= 4;
  if (found) {
    std::printf("%s\n", ui::StatusMessages(result));
    if (options.save) kept.comPort = port;
  } else {
    std::fprintf(stderr,
                 "%s\nTry: press the organizer's PC-LINK button just before "
                 "the search, and "
                 "check that [Ports] in %s names your serial devices.\n",
                 ui::StatusMessages(link::LinkNotDetected), file.Path().c_str());
  }
  const bool saved = SaveSettings(file, kept);
  if (found) return saved || !options.save ? 0 : kExitSettingsNotSaved;
  return ExitCodeFor(link::LinkNotDetected, stop);
}

}  // namespace

void AddDetectCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<DetectOptions>();
  CLI::App* sub = app.add_subcommand("detect", "Find the port the organizer is connected to");
  sub->footer(
      "Tries COM1..COM4, as [Ports] in the settings file maps them, in up to five rounds, "
      "printing \"Checking COM<n>\" for each. Press the organizer's PC-LINK button first. Exit 0 "
      "when the organizer is found, 12 when not, 74 when --save could not store the port found.");
  sub->add_flag("--save", options->save, "Store the port found as COMPort in the settings file");
  AddLinkOptions(*sub, options->engine);
  sub->callback([options, &context] { context.exit_code = Detect(*options); });
}

}  // namespace orgalink::cli
