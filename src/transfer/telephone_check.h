// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/code_tables.h"

namespace orgalink::transfer {

// What the completeness checks of a base model's Telephone transfer need:
// the program-wide tables of the order check and BKTelRecordsMin.
struct TelephoneCheck {
  const store::SortTable* weights = nullptr;
  const store::CodeTable* incoming = nullptr;
  int minRecords = 1;
};

}  // namespace orgalink::transfer
