// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/link_engine.h"

namespace orgalink::link {

LinkEngine::LinkEngine(platform::Clock& clock) : log_(clock), link_(clock, log_, status_) {}

void LinkEngine::SetDeviceCode(int device_code) {
  device_code_[0] = device_code == 1 ? 1 : 2;
  device_code_[1] = 0;
}

void LinkEngine::SetTimeouts(long command_ms, long data_packet_ms, long multiplier_ms) {
  to_command_ = command_ms;
  to_data_packet_ = data_packet_ms;
  to_multiplier_ = multiplier_ms;
}

}  // namespace orgalink::link
