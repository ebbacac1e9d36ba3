// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows that fit small screens: a window's design size holds where the
// screen has room for it, and shrinks to the room where it has not.

#include <QSize>

class QWidget;

namespace varnel {

// The largest size of a window's inside (in device-independent pixels) that
// fits on the available area of the screen `widget` shows on (the primary
// screen before it is shown), leaving 20 by 40 device pixels for the
// window frame and title bar. An 800x600 screen at 144 dpi gives 519x373.
[[nodiscard]] QSize screen_room(const QWidget& widget);

// `wanted` shrunk to screen_room(widget) where it is larger.
[[nodiscard]] QSize fitted_to_screen(const QWidget& widget, const QSize& wanted);

}  // namespace varnel
