// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "ui/archive_history.h"

namespace orgalink::cli {

// `orgalink history --json`: the archives of `folder` newest first, laid out
// as docs/json-output.md describes, printed as PrintJson prints; returns
// the exit status, `exitStatus` unless the write failed.
int PrintHistoryJson(const std::string& folder, const std::vector<ui::HistoryEntry>& newestFirst,
                     int exitStatus);

}  // namespace orgalink::cli
