// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/list_style.h"

#include <QMenu>
#include <QTableView>

#include "platform/ui/qt_text.h"

namespace varnel {

QColor colour_from_bgr(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

std::uint32_t bgr_from_colour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | static_cast<std::uint32_t>(rgb.green()) << 8 |
           static_cast<std::uint32_t>(rgb.blue()) << 16;
}

QColor readable_on(const QColor& background) {
    const QColor rgb = background.toRgb();
    // Relative luminance (ITU-R BT.709 weights) of the background.
    const double luminance = 0.2126 * rgb.redF() + 0.7152 * rgb.greenF() + 0.0722 * rgb.blueF();
    return luminance > 0.5 ? QColor(Qt::black) : QColor(Qt::white);
}

void apply_list_style(QTableView& list, QMenu& popup, const Settings& settings,
                      const Codec& codec) {
    const QColor background = colour_from_bgr(settings.background_colour);
    QPalette palette = list.palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, colour_from_bgr(settings.font_colour));
    palette.setColor(QPalette::AlternateBase, background);
    list.setPalette(palette);

    QFont font = list.font();
    font.setFamily(to_qstring(settings.font_name, codec));
    if (settings.font_size > 0) font.setPointSize(settings.font_size);
    list.setFont(font);

    QPalette menu = popup.palette();
    menu.setColor(QPalette::Highlight, background);
    menu.setColor(QPalette::HighlightedText, readable_on(background));
    popup.setPalette(menu);
}

}  // namespace varnel
