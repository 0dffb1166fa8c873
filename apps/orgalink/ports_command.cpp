// SPDX-License-Identifier: GPL-3.0-or-later
// `orgalink ports`: the serial ports of this machine, which COM slot opens
// each, and whether this user may use them. No port is opened.

#include <memory>
#include <string>

#include "commands.h"
#include "documents.h"
#include "output_check.h"
#include "platform/running_process.h"
#include "platform/serial_port_list.h"
#include "platform/standard_output.h"
#include "port_roots.h"
#include "ports_json.h"
#include "preflight.h"
#include "ui/file_locations.h"
#include "ui/port_listing.h"
#include "ui/settings_file.h"

namespace orgalink::cli {

namespace {

ui::PortListingInput GatherPorts(const std::string& settingsOverride) {
  ui::PortListingInput input;
  const ui::SettingsFile file(ui::LocateFiles(ui::CurrentUserEnvironment(), settingsOverride));
  input.settingsFile = file.Path();
  input.ports = platform::ListSerialPorts(ListingRoots());
  for (std::size_t i = 0; i < input.comDevices.size(); ++i) {
    input.comDevices[i] =
        platform::ResolveDevicePath(file.Values().comDevices.For(static_cast<int>(i) + 1));
  }
  input.modemManagerRunning = platform::ProcessRunning("ModemManager");
  return input;
}

}  // namespace

void AddPortsCommand(CLI::App& app, CommandContext& context) {
  auto settingsFile = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "ports", "List the serial ports, their COM slots and whether you may open them");
  command->add_option("--settings", *settingsFile,
                      "Settings file whose [Ports] section maps COM1..COM4; it must exist");
  command->add_flag("--json", *json,
                    std::string("The listing as JSON (layout: ") + kJsonOutputDocument + ")");
  command->callback([settingsFile, json, &context] {
    context.stop.Watching();
    if (const int refused = CheckNamedSettingsFile(*settingsFile, false)) {
      context.exit_code = refused;
      return;
    }
    const ui::PortListingInput ports = GatherPorts(*settingsFile);
    const int error = platform::WriteStandardOutput(*json ? PortListingJson(ports)
                                                          : ui::FormatPortListing(ports));
    context.exit_code = error == 0 ? 0 : OutputFailed(error);
  });
}

}  // namespace orgalink::cli
