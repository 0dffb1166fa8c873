// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace orgalink::platform {

// Why this user cannot create a file in `folder` ("" meaning the current
// one): the system's text for a folder that is missing or cannot be
// searched or written, or "not a folder"; nothing when a file can be made
// there. Nothing is created.
std::optional<std::string> FolderWriteProblem(const std::string& folder);

}  // namespace orgalink::platform
