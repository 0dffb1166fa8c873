// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace orgalink::ui {

// The application a whole backup (RunMode 1) or restore (RunMode 2) is busy
// with when its progress bar stands at `position`. The operation gives every
// application a band of the bar: Telephone 10..49, Schedule 50..59,
// Anniversary 60..69, To Do 70..79, Memo 80..89, and the expense categories
// with Expense 90..99. Nothing outside the bands (waiting, emptying the
// organizer, finished) and in every other RunMode.
const char* ApplicationAtPosition(int runMode, int position);

}  // namespace orgalink::ui
