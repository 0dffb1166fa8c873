// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>

#include "store/readable_archive.h"

namespace orgalink::exchange {

// `archive` for reading, not for reading back: the header, then one block
// per record under its application, each field on a line of its own and
// a memo's text as it is; a record kept whole shows its hex.
void WriteArchiveText(const store::ReadableArchive& archive, const std::string& charset,
                      std::ostream& out);

}  // namespace orgalink::exchange
