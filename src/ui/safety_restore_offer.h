// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "ui/safe_restore_texts.h"

namespace orgalink::ui {

// The question the dialogs ask after a restore that failed once it had begun
// to empty the organizer: where its former contents are, and whether to put
// them back now. Empty when there is no copy to offer (none was written, or
// nothing was deleted), so that the caller tells the usual note instead.
std::string SafetyRestoreQuestion(const SafetyCopy& safety);

}  // namespace orgalink::ui
