// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/cause.h"
#include "link/link_engine.h"

namespace orgalink::transfer {

// Why a send refused to start: no port, or no records to send.
link::Cause NothingToSend(const link::LinkEngine& engine);

}  // namespace orgalink::transfer
