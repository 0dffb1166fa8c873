// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "sim/organizer_contents.h"

namespace orgalink::sim {

// The organizer's contents are kept in an uninverted archive ("IM2BK0",
// device code 02 00, one section per application in the organizer's codes),
// so that the tool's own inspect and restore commands read it as well.

// Reads `path`. Empty records are dropped (the organizer holds none); the
// Telephone records are put in the organizer's order. False with the reason
// in `error` when the file cannot be read or is no such archive.
bool LoadOrganizerFile(const std::string& path, const TelephoneSort& sort,
                       OrganizerContents& contents, std::string& error);

// Replaces `path` with `contents` in one step; the old file stays untouched
// when anything fails.
bool SaveOrganizerFile(const std::string& path, const OrganizerContents& contents,
                       std::string& error);

}  // namespace orgalink::sim
