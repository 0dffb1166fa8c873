// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/run_context.h"

#include "store/appli_kind.h"

namespace orgalink::operations {

void SetDeviceCode(RunContext& run, int deviceCode) {
  run.engine.SetDeviceCode(deviceCode);
  if (run.store != nullptr) {
    run.store->SetDeviceCode(run.engine.DeviceCodeHigh(), run.engine.DeviceCodeLow());
  } else {
    run.engine.Log().Line("!!! SetDeviceCode Err (Pass)");
  }
}

void SetAppliMode(RunContext& run, std::string_view text) {
  if (text == "ALL") {
    run.appliKind = store::AllApplis;
    return;
  }
  for (std::uint8_t kind = store::Schedule; kind <= store::ExpenseCategory; ++kind) {
    const char* name = store::AppliModeName(kind);
    if (name != nullptr && name == text) {
      run.appliKind = kind;
      return;
    }
  }
  run.engine.Log().Line("!!! Appli Name Err (Pass)");
}

}  // namespace orgalink::operations
