// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/progress_application.h"

#include "store/appli_kind.h"

namespace orgalink::ui {

const char* ApplicationAtPosition(int runMode, int position) {
  if ((runMode != 1 && runMode != 2) || position < 10 || position > 99) return nullptr;
  if (position < 50) return store::AppliModeName(store::Telephone);
  // From 50 on, one application per ten units, in the order the operations
  // walk them; the expense categories travel with Expense in the last band.
  constexpr store::AppliKind kBands[] = {store::Schedule, store::Anniversary, store::ToDo,
                                         store::Memo, store::Expense};
  return store::AppliModeName(kBands[position / 10 - 5]);
}

}  // namespace orgalink::ui
