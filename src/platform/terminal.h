// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace orgalink::platform {

// The descriptors of the standard streams.
inline constexpr int kStandardInput = 0;
inline constexpr int kStandardOutput = 1;
inline constexpr int kStandardError = 2;

// True when `fd` is a terminal, where a person can read and answer.
bool IsTerminal(int fd);

// Columns of the terminal on `fd`; 0 when it is none or does not say.
int TerminalColumns(int fd);

// Reads one line from `fd` and returns it without its line end. Nothing at
// the end of the input, on a read error, or as soon as `wake_fd` (when not
// -1) turns readable first: an abort request must not wait for an answer.
std::optional<std::string> ReadLineUnlessWoken(int fd, int wake_fd);

}  // namespace orgalink::platform
