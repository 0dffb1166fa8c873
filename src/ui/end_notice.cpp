// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/end_notice.h"

#include "ui/status_messages.h"

namespace orgalink::ui {

std::optional<EndNotice> EndNoticeFor(link::LinkStatus status) {
  if (status == link::LinkOk || status == link::LinkFileReadCancelled) return std::nullopt;
  const char* caption = status == link::LinkAborted ? "Abort" : "Error";
  return EndNotice{StatusMessages(status), caption};
}

}  // namespace orgalink::ui
