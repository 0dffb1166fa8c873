// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/checked_archive.h"
#include "store/record_comparison.h"

namespace orgalink::session {

// The records of an archive that the viewer shows under the filter `text`
// (ui::ArchiveView::SetFilter: some cell of the record's row holds the text,
// case aside, accents as typed), with the text decoded as the viewer decodes
// it, through the "code.dat" in `tableDirectory`. Every section stays, with
// the records it keeps, in the organizer's codes; an empty text keeps all.
store::ArchiveRecords MatchingRecords(const store::CheckedArchive& checked,
                                      const std::string& tableDirectory, const std::string& text);

}  // namespace orgalink::session
