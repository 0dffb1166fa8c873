#pragma once

#include <cstdint>

namespace orgalink::link {

// The dialogs' abort requests, thread messages into the worker's own queue
// where every wait of the link finds them. Their numbers are fixed.
inline constexpr std::uint32_t WM_LINK_ABORT = 1127;
inline constexpr std::uint32_t WM_DETECT_ABORT = 1131;

}  // namespace orgalink::link
