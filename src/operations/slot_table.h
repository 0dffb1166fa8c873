// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/appli_store.h"

namespace orgalink::operations {

// The store's slot table for the length of one operation: allocated on
// construction, released on every way out.
class SlotTable {
 public:
  SlotTable(store::AppliStore& store, int slots)
      : store_(store), ok_(store.GetAppliBuf(slots) == store::StoreOk) {}
  ~SlotTable() { store_.FreeAppliBuf(); }
  SlotTable(const SlotTable&) = delete;
  SlotTable& operator=(const SlotTable&) = delete;

  bool ok() const { return ok_; }

 private:
  store::AppliStore& store_;
  bool ok_;
};

}  // namespace orgalink::operations
