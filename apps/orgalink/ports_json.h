// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ui/port_listing.h"

namespace orgalink::cli {

// `orgalink ports --json`: the listing for programs, laid out as
// docs/json-output.md describes.
std::string PortListingJson(const ui::PortListingInput& input);

}  // namespace orgalink::cli
