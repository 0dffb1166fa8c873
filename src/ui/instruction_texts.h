// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

namespace orgalink::ui {

// What the user is told before and during a communication, the same in the
// dialogs and on the command line.

// The box shown before a backup or restore starts (caption "Information").
inline constexpr const char* kPowerCycleInstructions =
    "1. Press the [ON/OFF] button to turn OFF.\n"
    "2. Connect the cable to your Organizer and your PC.\n"
    "3. Press the [ON/OFF] button to turn ON.";
inline constexpr const char* kPowerCycleCaption = "Information";

// The progress dialog's "Instructions" group, one label per line.
inline constexpr const char* kProgressInstructionsTitle = "Instructions";
inline constexpr std::array<const char*, 3> kProgressInstructions = {
    "1. Make sure the cable is connected to your Organizer",
    "    and your PC.",
    "2. Press the [PC-LINK] button.",
};

// Asked before anything empties the organizer (caption "Restore").
inline constexpr const char* kRestoreQuestion =
    "This operation will overwrite ALL applications on your Organizer.\nContinue restore?";
inline constexpr const char* kRestoreCaption = "Restore";

// The Auto Detect dialog's steps; the third names the dialog's own button.
inline constexpr std::array<const char*, 3> kDetectInstructions = {
    "1. Connect your Organizer to your PC with the cable supplied.",
    "2. Press the [PC-LINK] button on your Organizer.",
    "3. Press the [Proceed] button below.",
};
inline constexpr const char* kDetectInProgress = "Auto Detect in progress...";

// "Checking COM<port>", shown while the search tries that port.
std::string CheckingPortText(int port);

}  // namespace orgalink::ui
