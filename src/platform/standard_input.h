// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>

namespace orgalink::platform {

// Reads up to `size` bytes of standard input: the count, 0 at its end, or
// nothing with the error number in `error_number` when reading failed.
std::optional<std::size_t> ReadStandardInput(char* buffer, std::size_t size, int& error_number);

}  // namespace orgalink::platform
