// SPDX-License-Identifier: GPL-3.0-or-later
#include "exit_status.h"

#include "ui/exit_status.h"

namespace orgalink::cli {

int ExitCodeFor(link::LinkStatus status, std::optional<platform::InterruptKind> requested) {
  if (status != link::LinkOk && requested) return platform::ExitStatusFor(*requested);
  return ui::ExitStatusFor(status, requested);
}

}  // namespace orgalink::cli
