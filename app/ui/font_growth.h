// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows whose controls sit at fixed design rectangles (the settings and
// about windows) grow with the font: the design was drawn for a font of
// about 15 pixels per line (10 points on a 96-dpi screen), and a bigger font
// scales every rectangle so that no control is squashed or clipped. At that
// font and below the design sizes hold.

class QSize;
class QWidget;

namespace varnel {

// The factor design pixels grow by for `widget`'s font: its line height
// over the design's, never below 1.
double font_scale(const QWidget& widget);

// Scales the rectangles of `window`'s children (and of the children of its
// group boxes) by font_scale; a check box, radio button, label, button or
// field shorter than its text needs grows to it, keeping its vertical
// centre, and a check box, radio button or label narrower than its caption
// widens where no neighbour is in the way.
// The window gets the fixed size `design_size` scaled, or more when a grown
// control would stick out.
void grow_with_font(QWidget& window, const QSize& design_size);

}  // namespace varnel
