// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Texts that more than one window of the program shows.

namespace orgalink::gui {

// The main window's title; a second start also looks for it.
inline constexpr const char* kAppTitle = "PC Interface Software for Brelan Pellico";

inline constexpr const char* kCannotStartWorker = "Cannot start download.";

// Message-box captions.
inline constexpr const char* kCaptionError = "Error";
inline constexpr const char* kCaptionInformation = "Information";
inline constexpr const char* kCaptionBackup = "Backup";

}  // namespace orgalink::gui
