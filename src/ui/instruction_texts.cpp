// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/instruction_texts.h"

namespace orgalink::ui {

std::string CheckingPortText(int port) {
  return "Checking COM" + std::to_string(port);
}

}  // namespace orgalink::ui
