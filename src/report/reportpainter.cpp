#include "report/reportpainter.h"

#include <QFontDatabase>
#include <QPagedPaintDevice>
#include <QPainter>

namespace ombrisa::report {

namespace {

QString firstInstalled(std::initializer_list<const char*> families) {
    for (const char* family : families)
        if (QFontDatabase::hasFamily(QString::fromLatin1(family)))
            return QString::fromLatin1(family);
    return QString::fromLatin1(*families.begin());
}

QRectF toDevice(const QRectF& r, double f) {
    return {r.x() * f, r.y() * f, r.width() * f, r.height() * f};
}

// Room left between a text and the side of its box it is aligned to.
constexpr double kTextPadding = 2.0;

void paintText(QPainter& painter, const PreparedItem& item, const QRectF& box, double f) {
    painter.setFont(resolveFont(item.font));
    painter.setPen(item.textColor);
    const QRectF inner = box.adjusted(kTextPadding * f, 0, -kTextPadding * f, 0);
    if (item.kind == ObjectKind::Memo) {
        const QStringList lines = item.text.split(QLatin1Char('\n'));
        const double pitch = (item.lineHeight > 0 ? item.lineHeight : item.rect.height()) * f;
        for (int i = 0; i < lines.size(); ++i)
            painter.drawText(QRectF(inner.left(), inner.top() + i * pitch, inner.width(), pitch),
                             int(Qt::AlignLeft | Qt::AlignVCenter) | Qt::TextDontClip, lines[i]);
        return;
    }
    // One line only: a line feed in a text is shown as a blank rather than starting a second line.
    painter.drawText(inner, int(item.alignment) | Qt::TextSingleLine, item.text);
}

void paintItem(QPainter& painter, const PreparedItem& item, double f) {
    const QRectF box = toDevice(item.rect, f);
    painter.save();
    if (item.kind == ObjectKind::Line) {
        painter.setPen(QPen(item.frame.isValid() ? item.frame : QColor(Qt::black), item.frameWidth * f));
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.restore();
        return;
    }
    if (item.fill.isValid())
        painter.fillRect(box, item.fill);
    painter.setClipRect(box);
    switch (item.kind) {
    case ObjectKind::Text:
    case ObjectKind::Memo:
        paintText(painter, item, box, f);
        break;
    case ObjectKind::Picture:
        if (!item.picture.isNull()) {
            QSizeF size = QSizeF(item.picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
            QRectF target(QPointF(), size);
            target.moveCenter(box.center());
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(target, item.picture);
        }
        break;
    case ObjectKind::Line:
    case ObjectKind::Box:
        break;
    }
    painter.setClipping(false);
    if (item.frame.isValid()) {
        const double w = item.frameWidth * f;
        painter.setPen(QPen(item.frame, w));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(w / 2, w / 2, -w / 2, -w / 2));
    }
    painter.restore();
}

} // namespace

QString resolveFamily(const QString& family) {
    const QString key = family.toLower();
    if (key == u"arial" || key == u"helvetica")
        return firstInstalled({"Liberation Sans", "DejaVu Sans"});
    if (key == u"courier new" || key == u"courier")
        return firstInstalled({"Liberation Mono", "DejaVu Sans Mono"});
    if (key == u"verdana" || key == u"tahoma")
        return firstInstalled({"DejaVu Sans", "Liberation Sans"});
    if (QFontDatabase::hasFamily(family))
        return family;
    return firstInstalled({"DejaVu Sans", "Liberation Sans"});
}

QFont resolveFont(const FontDef& wanted) {
    QFont font(resolveFamily(wanted.family));
    // Points are 1/72 inch and units 1/96 inch; the device turns points into its own dots.
    font.setPointSizeF(wanted.pixelSize * 72.0 / 96.0);
    font.setBold(wanted.bold);
    font.setKerning(true);
    font.setStyleHint(wanted.family.contains(QLatin1String("Courier"), Qt::CaseInsensitive) ? QFont::TypeWriter
                                                                                          : QFont::SansSerif);
    return font;
}

void paintPage(QPainter& painter, const PreparedPage& page, double dotsPerUnit) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const PreparedItem& item : page.items)
        paintItem(painter, item, dotsPerUnit);
}

void paintReport(const PreparedReport& report, QPainter& painter, QPagedPaintDevice& device) {
    const double dotsPerUnit = device.logicalDpiX() / 96.0;
    for (int i = 0; i < report.pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        paintPage(painter, report.pages[i], dotsPerUnit);
    }
}

bool paintReport(const PreparedReport& report, QPagedPaintDevice& device) {
    device.setPageLayout(report.pageLayout);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    paintReport(report, painter, device);
    return painter.end();
}

} // namespace ombrisa::report
