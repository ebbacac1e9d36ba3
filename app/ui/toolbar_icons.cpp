// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace varnel {

namespace {

void draw_folder(QPainter& p) {
    p.setPen(QPen(QColor(138, 98, 18), 1));
    p.setBrush(QColor(240, 190, 50));
    p.drawRect(QRectF(1.5, 3.5, 13, 10));
    p.setBrush(QColor(250, 215, 100));
    p.drawRect(QRectF(1.5, 1.5, 6, 2));
}

void draw_files(QPainter& p) {
    p.setPen(QPen(QColor(30, 80, 170), 1));
    p.setBrush(QColor(220, 232, 255));
    p.drawRect(QRectF(4.5, 0.5, 9, 11));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 2.5, 9, 11));
    p.setPen(QPen(QColor(0, 150, 40), 2.2));
    p.drawLine(QPointF(11, 8), QPointF(11, 14));
    p.drawLine(QPointF(8, 11), QPointF(14, 11));
}

void draw_undo(QPainter& p) {
    p.setPen(QPen(QColor(220, 110, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(4, 6);
    arc.cubicTo(8, 2, 15, 4, 13, 12);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 110, 0));
    const QPointF head[] = {QPointF(0.5, 6), QPointF(6.5, 1.5), QPointF(6.5, 9.5)};
    p.drawPolygon(head, 3);
}

void draw_preview(QPainter& p) {
    p.setPen(QPen(QColor(20, 90, 200), 2));
    p.setBrush(QColor(190, 225, 255));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(QColor(90, 60, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14, 13.5));
}

void draw_start(QPainter& p) {
    p.setPen(QPen(QColor(0, 110, 30), 1));
    p.setBrush(QColor(40, 180, 60));
    const QPointF play[] = {QPointF(3, 1.5), QPointF(14, 7.5), QPointF(3, 13.5)};
    p.drawPolygon(play, 3);
}

}  // namespace

QIcon toolbar_icon(int index) {
    void (*draw)(QPainter&) = nullptr;
    switch (index) {
        case 0:
            draw = draw_folder;
            break;
        case 1:
            draw = draw_files;
            break;
        case 3:
            draw = draw_undo;
            break;
        case 4:
            draw = draw_preview;
            break;
        case 5:
            draw = draw_start;
            break;
        default:
            return {};
    }
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace varnel
