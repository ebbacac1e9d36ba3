// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/screen_room.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace varnel {

namespace {
constexpr int frame_width = 20;   // device pixels: borders
constexpr int frame_height = 40;  // device pixels: title bar and borders
}  // namespace

QSize screen_room(const QWidget& widget) {
    const QScreen* screen = widget.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    const QSize available = screen->availableGeometry().size();
    const double ratio = screen->devicePixelRatio();
    return {available.width() - static_cast<int>(std::ceil(frame_width / ratio)),
            available.height() - static_cast<int>(std::ceil(frame_height / ratio))};
}

QSize fitted_to_screen(const QWidget& widget, const QSize& wanted) {
    return wanted.boundedTo(screen_room(widget));
}

}  // namespace varnel
