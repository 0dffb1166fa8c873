// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "link/step_result.h"
#include "store/checked_archive.h"

namespace orgalink::cli {

// Reads the archive that a restore sends or a verify compares with, before
// anything is asked or printed and before the port is opened, and judges it
// as every command does (store::ReadArchiveFile), its device code included.
// 0 when the organizer could take it. Otherwise the failure goes to
// standard error as a run would report it, and the result is the exit
// status: 17 ("Read file error.") for a file that cannot be read, 13
// ("Backup file not compatible.") for one the organizer could not take.
// `refusal`, when given, then takes that status with its cause.
int ReadOrganizerArchive(const std::string& path, store::CheckedArchive& archive,
                         link::StepResult* refusal = nullptr);

}  // namespace orgalink::cli
