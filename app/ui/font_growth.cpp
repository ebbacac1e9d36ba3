// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/font_growth.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace varnel {

namespace {

constexpr double design_line_height = 15.0;
constexpr int window_margin = 4;

bool shows_text(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLabel*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget);
}

QRect scaled(const QRect& rect, double scale) {
    return QRect(qRound(rect.x() * scale), qRound(rect.y() * scale), qRound(rect.width() * scale),
                 qRound(rect.height() * scale));
}

// The rectangle a text control needs: at least its size hint's height,
// centred on the design; at least its width where that overlaps nothing.
QRect fitted(const QWidget* widget, QRect rect, const std::vector<QRect>& others) {
    const QSize hint = widget->sizeHint();
    if (hint.height() > rect.height()) {
        const int top = std::max(0, rect.top() - (hint.height() - rect.height()) / 2);
        rect = QRect(rect.left(), top, rect.width(), hint.height());
    }
    const bool caption_beside_mark = qobject_cast<const QCheckBox*>(widget) ||
                                     qobject_cast<const QRadioButton*>(widget) ||
                                     qobject_cast<const QLabel*>(widget);
    if (caption_beside_mark && hint.width() > rect.width()) {
        const QRect wider(rect.topLeft(), QSize(hint.width(), rect.height()));
        const bool free = std::none_of(others.begin(), others.end(),
                                       [&](const QRect& other) { return other.intersects(wider); });
        if (free) rect = wider;
    }
    return rect;
}

void grow_children(QWidget& parent, double scale) {
    QList<QWidget*> children;
    for (QObject* child : parent.children())
        if (auto* widget = qobject_cast<QWidget*>(child)) children.push_back(widget);
    std::vector<QRect> rects;
    for (const QWidget* child : children) rects.push_back(scaled(child->geometry(), scale));
    for (qsizetype i = 0; i < children.size(); ++i) {
        QWidget* child = children[i];
        if (child->isWindow()) continue;
        QRect rect = rects[static_cast<std::size_t>(i)];
        if (shows_text(child)) {
            std::vector<QRect> others = rects;
            others.erase(others.begin() + i);
            rect = fitted(child, rect, others);
            rects[static_cast<std::size_t>(i)] = rect;
        }
        child->setGeometry(rect);
        if (qobject_cast<QGroupBox*>(child)) grow_children(*child, scale);
    }
}

}  // namespace

double font_scale(const QWidget& widget) {
    return std::max(1.0, QFontMetrics(widget.font()).height() / design_line_height);
}

void grow_with_font(QWidget& window, const QSize& design_size) {
    const double scale = font_scale(window);
    grow_children(window, scale);
    QSize size(qRound(design_size.width() * scale), qRound(design_size.height() * scale));
    const QRect used = window.childrenRect();
    size = size.expandedTo(QSize(used.right() + window_margin, used.bottom() + window_margin));
    window.setFixedSize(size);
}

}  // namespace varnel
