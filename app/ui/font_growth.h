// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Design pixels that grow with the font: the designs were drawn for a font
// of about 15 pixels per line (10 points on a 96-dpi screen); a bigger font
// scales them so that nothing is squashed or clipped. At that font and below
// the design sizes hold.

class QWidget;

namespace varnel {

// The factor design pixels grow by for `widget`'s font: its line height
// over the design's, never below 1.
double font_scale(const QWidget& widget);

}  // namespace varnel
