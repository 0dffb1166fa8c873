// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>
#include <optional>

class QPainter;
class QWidget;

namespace orgalink::gui {

// The main window's painted title: two lines in blue bold italic serif.
inline constexpr const char* kLogoFirstLine = "PC Interface Software for";
inline constexpr const char* kLogoSecondLine = "Brelan Pellico";

// "Times New Roman" bold italic where the system has it, else the bold
// italic of the serif face the system prefers.
QFont LogoFace();

// The largest size from 16 pt down to 1 pt, in whole points, at which the
// second line measures narrower than `width` pixels on `widget`; nothing
// when not even 1 pt fits.
std::optional<QFont> FitLogoFont(const QWidget& widget, int width);

// Draws both lines with the top left of the first at `rect`'s top left and
// the second 20 pixels lower, in `font` or, when there is none, the
// painter's current font.
void PaintLogo(QPainter& painter, const QRect& rect, const std::optional<QFont>& font);

}  // namespace orgalink::gui
