// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace orgalink::transfer {

// Bar position after the n-th received record: the first 200 records fill
// half the bar, the next 720 the other half. Not capped at 100; the dialog
// decides what to do with larger values.
constexpr int ReceiveProgressPosition(int n) {
  if (n <= 200) return (n * 100 / 200) / 2;
  return ((n - 200) * 100 / 720) / 2 + 50;
}

}  // namespace orgalink::transfer
