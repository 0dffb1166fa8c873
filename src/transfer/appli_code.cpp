// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/appli_code.h"

namespace orgalink::transfer {

std::uint8_t AppliCode(int kind) {
  return kind >= 0 && kind <= ExpenseCategoryCode ? static_cast<std::uint8_t>(kind) : 0xFF;
}

bool IsAppliCode(int byte) {
  return byte >= 0 && byte <= ExpenseCategoryCode;
}

}  // namespace orgalink::transfer
