// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/exit_status.h"

namespace orgalink::ui {

int ExitStatusFor(link::LinkStatus status, std::optional<platform::InterruptKind> requested) {
  if (status == link::LinkOk) return 0;
  if (status != link::LinkAborted) return link::ToInt(status);
  return requested ? platform::ExitStatusFor(*requested) : kExitInternalFault;
}

}  // namespace orgalink::ui
