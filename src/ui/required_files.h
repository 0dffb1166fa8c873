// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orgalink::ui {

// The files the program does not start without, in the order they are
// checked. The product's free-space library has no counterpart here (the
// free-space query is built in); its place is taken by the command-line
// program "orgalink", which is always installed beside the dialog program.
inline constexpr const char* kRequiredFiles[] = {"code.dat", "orgalink", "sort.dat"};

// The first required file that cannot be opened for reading in any of
// `folders` (each ending in its separator), or nothing when all can.
std::optional<std::string> FirstMissingRequiredFile(const std::vector<std::string>& folders);

// What the user is told then, with the main window's title as caption.
inline constexpr const char* kReinstallMessage =
    "Please reinstall this software correctly\nby running \"Setup.exe\" from the program disk.";

}  // namespace orgalink::ui
