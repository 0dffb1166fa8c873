// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace orgalink::ui {

// The tag a window title gets in front once the negotiation has told the
// organizer's variant: "<E> ", "<M> " or "<E+> "; empty for anything else.
std::string VariantTag(int variant);

}  // namespace orgalink::ui
