// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>

namespace orgalink::cli {

// The notes under --help: the program's own, and under each command that
// talks to the organizer where its values come from and its exit statuses.
// Called once every command is added.
void AddHelpFooters(CLI::App& app);

}  // namespace orgalink::cli
