// SPDX-License-Identifier: GPL-3.0-or-later
// orgalink watch: keeps the port open and makes a dated backup at each press
// of the organizer's PC-LINK button, until a signal ends it.

#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "communication.h"
#include "exit_status.h"
#include "platform/baud_rate.h"
#include "platform/clock.h"
#include "preflight.h"
#include "settings_file.h"
#include "simulated_port.h"
#include "store/appli_kind.h"
#include "store/archive.h"
#include "ui/dated_backup_name.h"
#include "ui/exit_status.h"
#include "ui/settings.h"
#include "watch_port.h"
#include "watch_prune.h"

namespace orgalink::cli {

namespace {

struct WatchOptions {
  EngineOptions engine;
};

// "ARCHIVE: Telephone 24, Schedule 10, ...; 6.2 s", the records as read
// back from the archive written.
void PrintBackupLine(const session::SessionOutcome& outcome) {
  std::string counts;
  for (const std::uint8_t application : store::FullOrder) {
    const int count = outcome.counts[application];
    if (count < 0) continue;
    if (!counts.empty()) counts += ", ";
    counts += store::ApplicationName(application) + " " + std::to_string(count);
  }
  if (!outcome.countsUnread.empty()) counts = "records not read back: " + outcome.countsUnread;
  std::printf("%s: %s; %u.%u s\n", outcome.archive.c_str(), counts.c_str(),
              outcome.elapsedMs / 1000, outcome.elapsedMs % 1000 / 100);
  std::fflush(stdout);
}

// One backup on the held port into today's free dated name in BackupDir,
// under the rules of `backup`. The exit status it ended with.
int BackupOnce(const WatchOptions& options, WatchedPort& port, Interruptible& stop) {
  CommunicationRequest backup{settings::RunMode::Backup, {}, {}, false, false};
  backup.numberedArchive = true;
  backup.portOpener = port.Lender();
  platform::Clock& clock = platform::SystemClock::Instance();
  // Progress line after progress line would bury the result lines in a
  // service's journal; a live bar on a terminal overwrites itself.
  const Console console;
  EngineOptions engine = options.engine;
  engine.quiet = engine.quiet || !console.ShowsLiveProgress();
  std::string backupDir;
  const CommunicationResult result =
      Communicate(engine, backup, console, stop,
                  [&](CommunicationRequest& request, const settings::RunSettings& settings) {
                    ui::CreateBackupDir(settings);
                    backupDir = settings.backupDir;
                    request.fileName = ui::FreeDatedBackupPath(backupDir, clock);
                  });
  if (result.succeeded) {
    PrintBackupLine(result.outcome);
    ApplyWatchPrunePolicy(options.engine, backupDir);
  }
  return result.exitCode;
}

// The device watch keeps open: --port or COMPort through [Ports]. Empty,
// after saying why, when the choice is not a device.
std::string WatchedDevice(const EngineOptions& options, const settings::RunSettings& settings) {
  const std::optional<ui::PortChoice> port = ChosenPort(options, settings);
  if (!port || port->kind == ui::PortChoice::Kind::Loop ||
      (options.port && IsSimulatedPort(*options.port))) {
    std::fprintf(stderr,
                 "orgalink watch: --port must be 1..4, COM1..COM4 or a device path; the loop "
                 "and the in-process simulator serve one communication only (serve a device "
                 "with orgalink simulate --pty)\n");
    return {};
  }
  return port->kind == ui::PortChoice::Kind::Device ? port->device
                                                    : settings.comDevices.For(port->com);
}

// Waits for the device until it opens, with a line for each new reason it
// does not.
bool AwaitDevice(WatchedPort& port, bool afterLoss) {
  return port.AwaitReturn(afterLoss, [](const std::string& reason) {
    std::fprintf(stderr, "orgalink watch: %s; trying again every second\n", reason.c_str());
  });
}

int Watch(const WatchOptions& options, Interruptible& stop) {
  if (const int refused = CheckNamedSettingsFile(options.engine.settingsFile, false)) {
    return refused;
  }
  ui::SettingsFile file = LoadSettings(options.engine);
  if (const int refused = CheckSettingsValues(file)) return refused;
  settings::RunSettings settings = file.Values();
  ApplyOptions(options.engine, settings);
  const std::string device = WatchedDevice(options.engine, settings);
  if (device.empty()) return 2;
  if (!stop.Watching()) return ui::kExitInternalFault;

  WatchedPort port(device, platform::BaudFromText(settings.baudRate),
                   platform::SystemClock::Instance(), stop.Token());
  if (!AwaitDevice(port, false)) return ExitCodeFor(link::LinkAborted, stop.Stop());
  std::fprintf(stderr,
               "orgalink watch: each PC-LINK press on the organizer at %s makes a backup in %s; "
               "Ctrl-C ends it\n",
               device.c_str(), settings.backupDir.c_str());
  for (;;) {
    switch (port.AwaitLinkRequest()) {
      case WatchedPort::Wake::Cancelled:
        return ExitCodeFor(link::LinkAborted, stop.Stop());
      case WatchedPort::Wake::Gone:
        port.Close();
        std::fprintf(stderr, "orgalink watch: %s went away; waiting for it to return\n",
                     device.c_str());
        if (!AwaitDevice(port, true)) return ExitCodeFor(link::LinkAborted, stop.Stop());
        std::fprintf(stderr, "orgalink watch: %s is back\n", device.c_str());
        break;
      case WatchedPort::Wake::LinkRequest: {
        const int ended = BackupOnce(options, port, stop);
        if (stop.Stop()) return ended != 0 ? ended : ExitCodeFor(link::LinkAborted, stop.Stop());
        break;
      }
    }
  }
}

}  // namespace

void AddWatchCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<WatchOptions>();
  CLI::App* sub = app.add_subcommand(
      "watch", "Keep the port open and make a dated backup at each PC-LINK press");
  sub->footer(
      "Waits without end for the organizer: each press of its PC-LINK button makes a backup "
      "into BackupDir under today's dated name, as backup does, and prints one line: the "
      "archive, its record counts and the time taken. It never restores and never deletes "
      "anything on the organizer. A device that goes away (an adapter unplugged) is waited "
      "for and opened again when it returns. Ctrl-C or SIGTERM ends it (exit 130 or 143); a "
      "backup cut short writes no archive. As a service: systemctl --user enable --now "
      "orgalink-watch.");
  AddEngineOptions(*sub, options->engine);
  sub->callback([options, &context] { context.exit_code = Watch(*options, context.stop); });
}

}  // namespace orgalink::cli
