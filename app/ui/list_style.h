// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list's look from the settings: colours and font.

#include <QColor>
#include <cstdint>

#include "app/settings.h"
#include "platform/codec.h"

class QMenu;
class QTableView;

namespace varnel {

// A 0x00BBGGRR colour (red in the low byte) as a QColor, and back.
QColor colour_from_bgr(std::uint32_t bgr);
std::uint32_t bgr_from_colour(const QColor& colour);

// Black or white, whichever stays readable on `background`.
QColor readable_on(const QColor& background);

// Background, text colour, text background; font face and size (the style
// flags are not applied; the list's rows follow the font); and the
// popup menu's highlight follows the background colour, its highlighted
// text black or white so that it stays readable.
void apply_list_style(QTableView& list, QMenu& popup, const Settings& settings, const Codec& codec);

}  // namespace varnel
