#include "report/layouts/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

namespace ombrisa::report {

QImage productLogo() {
    // 4 dots per report unit of the 64.25 × 49.13 box: sharp on paper. The square logo is centred in it.
    QImage image(256, 196, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer logo(QStringLiteral(":/report/logo.svg"));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    logo.render(&p, QRectF((256 - 196) / 2.0, 0, 196, 196));
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
