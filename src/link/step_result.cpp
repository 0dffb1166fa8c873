// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/step_result.h"

#include <ostream>

namespace orgalink::link {

std::ostream& operator<<(std::ostream& out, const StepResult& result) {
  out << result.status;
  if (!result.cause.Empty()) out << " (" << result.cause.Text() << ")";
  return out;
}

}  // namespace orgalink::link
