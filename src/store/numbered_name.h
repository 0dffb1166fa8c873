// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::store {

// The name tried after `path` when a numbered archive's name is taken: the
// file name's stem gets "-2", or its number one more, before the extension.
// "a/20261210.bkf" gives "a/20261210-2.bkf", which gives "a/20261210-3.bkf".
// Only up to five digits after the last '-' count as a number.
std::string NextNumberedName(const std::string& path);

}  // namespace orgalink::store
