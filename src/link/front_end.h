// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/progress_sink.h"
#include "link/prompter.h"

namespace orgalink::link {

// The front end a communication works for: where its progress goes and who
// answers its questions. Either may be null where nobody watches.
struct FrontEnd {
  ProgressSink* progress = nullptr;
  Prompter* prompter = nullptr;
};

}  // namespace orgalink::link
