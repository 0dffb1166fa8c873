// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace orgalink::gui {

// Restores `window` when minimised and asks for it to become the active
// window, with the dialog it is busy with, if any, on top. Where the window
// system refuses to hand over the focus, the window at least asks for the
// user's attention.
void BringToFront(QWidget& window);

}  // namespace orgalink::gui
