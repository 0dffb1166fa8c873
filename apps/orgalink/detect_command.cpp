// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink detect [--save]: looks for the organizer on COM1..COM4 as the
// settings file's [Ports] section maps them, then on the other serial devices
// this user may open.

#include <cstdio>
#include <memory>

#include "commands.h"
#include "exit_status.h"
#include "failure_report.h"
#include "interruptible.h"
#include "link/auto_detect.h"
#include "port_roots.h"
#include "preflight.h"
#include "session/session.h"
#include "settings_file.h"
#include "ui/detect_advice.h"
#include "ui/detect_devices.h"
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

constexpr int kComPorts = 4;

// The Auto Detect dialog on the console: it names each port as the search
// reaches it, a device beyond COM4 by its path.
class DetectProgress : public link::ProgressSink {
 public:
  DetectProgress(const std::vector<std::string>& extra, bool quiet)
      : extra_(extra), quiet_(quiet) {}
  void Report(const link::ProgressEvent& event) override {
    if (quiet_ || event.kind != link::ProgressKind::DetectChecking) return;
    const std::string text =
        event.value <= kComPorts
            ? ui::CheckingPortText(event.value)
            : "Checking " + extra_[static_cast<std::size_t>(event.value - kComPorts - 1)];
    std::fprintf(stderr, "%s\n", text.c_str());
  }

 private:
  const std::vector<std::string>& extra_;
  bool quiet_;
};

// "Organizer detected on COM2 (/dev/ttyUSB0).": the text of the status with
// the device the port stands for.
std::string DetectedText(int com, const std::string& device) {
  std::string text = ui::StatusMessages(link::LinkStatus{com});
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text + " (" + device + ").";
}

// Tells where the organizer was found and, for --save, keeps it in `kept`:
// a COM port as COMPort; a device beyond COM4 in [Ports] for the COM port
// COMPort names (COM1 when it names none of the four), which it then names.
void TakeFound(int port, const std::vector<std::string>& extra, bool save,
               settings::RunSettings& kept) {
  if (port <= kComPorts) {
    std::printf("%s\n", DetectedText(port, kept.comDevices.For(port)).c_str());
    if (save) kept.comPort = port;
    return;
  }
  const std::string& device = extra[static_cast<std::size_t>(port - kComPorts - 1)];
  if (!save) {
    std::printf("Organizer detected on %s.\n", device.c_str());
    return;
  }
  const int com = kept.comPort >= 1 && kept.comPort <= kComPorts ? kept.comPort : 1;
  kept.comDevices.Set(com, device);
  kept.comPort = com;
  std::printf("%s\n", DetectedText(com, device).c_str());
}

// The port found (0 for none, with why); nothing when the search could not
// be made interruptible.
std::optional<link::DetectResult> Search(const settings::RunSettings& settings,
                                         const std::vector<std::string>& extra, bool quiet,
                                         Interruptible& stop) {
  if (!stop.Watching()) return std::nullopt;
  platform::Clock& clock = platform::SystemClock::Instance();
  session::PortSource ports{
      {},
      ui::MakePortOpener(ui::PortChoice{}, ui::WithExtraDevices(settings.comDevices, extra),
                         clock)};
  session::Session search(settings, {}, std::move(ports), clock, stop.Token());
  DetectProgress progress(extra, quiet);
  return search.SearchPorts(&progress, extra);
}

int Detect(const DetectOptions& options, Interruptible& interrupts) {
  // --save writes the file named, so it may start a new one.
  if (const int refused = CheckNamedSettingsFile(options.engine.settingsFile, options.save)) {
    return refused;
  }
  ui::SettingsFile file = LoadSettings(options.engine);
  if (const int refused = CheckSettingsValues(file)) return refused;
  // What --save may change; the options serve this search alone.
  settings::RunSettings kept = file.Values();
  settings::RunSettings search = kept;
  ApplyOptions(options.engine, search);
  if (!options.engine.quiet) {
    std::fprintf(stderr, "%s\n%s\n\n%s\n", ui::kDetectInstructions[0], ui::kDetectInstructions[1],
                 ui::kDetectInProgress);
  }
  const std::vector<std::string> extra =
      ui::ExtraDetectDevices(platform::ListSerialPorts(ListingRoots()), search.comDevices);
  const std::optional<link::DetectResult> searched =
      Search(search, extra, options.engine.quiet, interrupts);
  if (!searched) return ui::kExitInternalFault;
  const std::optional<platform::InterruptKind> stop = interrupts.Stop();
  const bool found = searched->port > 0;
  if (found) {
    TakeFound(searched->port, extra, options.save, kept);
  } else if (stop) {
    ReportFailure({link::LinkNotDetected, searched->cause}, true);
  } else {
    // The same advice as the Auto Detect dialog's.
    std::fprintf(stderr, "%s\n%s\n", ui::StatusMessages(link::LinkNotDetected),
                 ui::DetectFailureAdvice(searched->cause, file.Path()).c_str());
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
      "Tries COM1..COM4, as [Ports] in the settings file maps them, then every other serial "
      "device that `orgalink ports` lists and you may open (USB and ACM adapters first, by "
      "their /dev/serial/by-id names), in up to five rounds, printing \"Checking COM<n>\" or "
      "\"Checking <device>\" for each. Press the organizer's PC-LINK button first. Exit 0 "
      "when the organizer is found, 12 when not, 74 when --save could not store the port found.");
  sub->add_flag("--save", options->save,
                "Store the port found as COMPort in the settings file; a device beyond COM4 "
                "goes into [Ports] for the COM port COMPort names (COM1 when none)");
  AddLinkOptions(*sub, options->engine);
  sub->callback([options, &context] { context.exit_code = Detect(*options, context.stop); });
}

}  // namespace orgalink::cli
