// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orgalink::testsupport {

// Replaces the file's contents with `bytes`.
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// The file's contents (empty when it is missing).
std::vector<std::uint8_t> FileBytes(const std::string& path);

}  // namespace orgalink::testsupport
