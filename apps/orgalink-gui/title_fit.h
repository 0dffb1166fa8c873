// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;
class QString;

namespace orgalink::gui {

// Sets the title of a fixed-size dialog and widens the dialog when the title
// bar could not show the whole title; the controls move along to stay
// centred. A dialog never narrows again below the width it was built with.
void SetFittingTitle(QDialog& dialog, const QString& title);

}  // namespace orgalink::gui
