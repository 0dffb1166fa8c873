// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/status_register.h"

#include <utility>

namespace orgalink::link {

LinkStatus StatusRegister::Set(LinkStatus code, int port) {
  if (ToInt(status_) < -1 || ToInt(status_) > ToInt(LinkOk)) {
    status_ = LinkPortError;
  } else if (port == -1) {
    status_ = code;
  } else if (port >= 1 && port <= 4) {
    status_ = LinkStatus{code == LinkOk ? port : ToInt(LinkTimeout) + port};
  } else {
    status_ = LinkPortError;
  }
  return status_;
}

StepResult StatusRegister::Fail(LinkStatus code, Cause cause) {
  return {Set(code, -1), std::move(cause)};
}

}  // namespace orgalink::link
