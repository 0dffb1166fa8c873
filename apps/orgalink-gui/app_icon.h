// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

namespace orgalink::gui {

// The program's icon, drawn at `size` pixels: a handheld organizer with its
// screen and keys.
QPixmap DrawAppIcon(int size);

// The icon at the sizes the window system asks for.
QIcon AppIcon();

}  // namespace orgalink::gui
