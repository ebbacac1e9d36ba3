// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/font_growth.h"

#include <QFontMetrics>
#include <QWidget>
#include <algorithm>

namespace varnel {

namespace {

constexpr double design_line_height = 15.0;

}  // namespace

double font_scale(const QWidget& widget) {
    return std::max(1.0, QFontMetrics(widget.font()).height() / design_line_height);
}

}  // namespace varnel
