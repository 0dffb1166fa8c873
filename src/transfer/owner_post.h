#pragma once

#include <cstdint>

#include "link/link_owner.h"

namespace orgalink::transfer {

// Posts to the owner window, if there is one; transfers also run without.
inline void PostToOwner(link::LinkOwner* owner, std::uint32_t message, std::uint32_t wparam,
                        std::int32_t lparam) {
  if (owner != nullptr) owner->Post(message, wparam, lparam);
}

}  // namespace orgalink::transfer
