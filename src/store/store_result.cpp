// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/store_result.h"

#include <ostream>

namespace orgalink::store {

std::ostream& operator<<(std::ostream& out, StoreResult result) {
  return out << ToInt(result);
}

}  // namespace orgalink::store
