#include "report/layouts/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ombrisa::report {

QImage productLogo() {
    // 4 dots per report unit of the 64.25 × 49.13 box: sharp on paper.
    QImage image(256, 196, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, 0, 196);
    back.setColorAt(0, QColor(0xFF, 0xA5, 0x2E));
    back.setColorAt(1, QColor(0xE0, 0x6A, 0x00));
    p.setBrush(back);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(4, 4, 248, 188), 28, 28);
    // An "O" ring with a small speech tail: a firm that talks with its clients.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 20, Qt::SolidLine, Qt::RoundCap));
    p.drawEllipse(QPointF(128, 88), 52, 52);
    QPainterPath tail;
    tail.moveTo(150, 134);
    tail.lineTo(186, 168);
    tail.lineTo(170, 124);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(tail);
    p.setBrush(QColor(0x00, 0x80, 0x80));
    p.drawEllipse(QPointF(128, 88), 18, 18);
    return image;
}

QImage photoPlaceholder() {
    QImage image(300, 380, QImage::Format_RGB32);
    image.fill(QColor(0xF0, 0xF4, 0xF8));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xB0, 0xC4, 0xDE));
    p.drawEllipse(QPointF(150, 140), 70, 80);
    p.drawRoundedRect(QRectF(50, 240, 200, 160), 90, 90);
    return image;
}

} // namespace ombrisa::report
