// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulated_port.h"

#include "platform/private_folders.h"
#include "ui/archive_names.h"
#include "ui/file_locations.h"

namespace orgalink::cli {

std::string SimulatorStateFile() {
  const ui::FileLocations where = ui::LocateFiles(ui::CurrentUserEnvironment());
  return ui::JoinPath(ui::DirectoryOf(where.backupDir), "simulated_organizer.bkf");
}

bool IsSimulatedPort(std::string_view portName) {
  return sim::VariantFromPortName(portName).has_value();
}

std::unique_ptr<sim::InProcessOrganizer> OpenSimulatedPort(std::string_view portName, bool echo,
                                                           int baud, std::string& error) {
  const auto variant = sim::VariantFromPortName(portName);
  if (!variant) return nullptr;
  sim::SimOptions options;
  options.variant = *variant;
  options.echo = echo;
  options.state_file = SimulatorStateFile();
  // A folder that cannot be made fails with the state file's own error.
  platform::MakePrivateFolders(ui::DirectoryOf(options.state_file));
  return sim::InProcessOrganizer::Create(options, baud, error);
}

}  // namespace orgalink::cli
