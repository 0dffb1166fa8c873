// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/variant_tag.h"

#include "link/negotiation.h"

namespace orgalink::ui {

std::string VariantTag(int variant) {
  switch (variant) {
    case link::VariantE:
      return "<E> ";
    case link::VariantM:
      return "<M> ";
    case link::VariantEPlus:
      return "<E+> ";
    default:
      return "";
  }
}

}  // namespace orgalink::ui
