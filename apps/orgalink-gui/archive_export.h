// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ui/archive_view.h"

namespace orgalink::gui {

// Writes the viewed archive to `path` as the JSON that `orgalink export`
// writes and `orgalink import` reads back. False, with the reason in
// `problem`, when it could not; the file is then as it was.
bool ExportArchiveJson(const ui::ArchiveView& view, const std::string& path, std::string& problem);

}  // namespace orgalink::gui
