// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ui/archive_view.h"

namespace orgalink::ui {

// The viewer's model of the archive file at `path`, its text decoded as the
// inspect and export commands do by default: through the "code.dat" in
// `tableDirectory`, then Latin-1. A file that cannot be read gives a view
// that says so in inspect's words.
ArchiveView ViewArchiveFile(const std::string& path, const std::string& tableDirectory);

}  // namespace orgalink::ui
