#include "report/reportlayout.h"

namespace ombrisa::report {

QString ReportObject::wholeText() const {
    return kind == ObjectKind::Memo ? lines.join(QLatin1Char('\n')) : text;
}

ReportObject* ReportLayout::findObject(QStringView name) {
    for (Band& band : bands)
        for (ReportObject& object : band.objects)
            if (name.compare(object.name, Qt::CaseInsensitive) == 0)
                return &object;
    return nullptr;
}

const ReportObject* ReportLayout::findObject(QStringView name) const {
    return const_cast<ReportLayout*>(this)->findObject(name);
}

Band* ReportLayout::findBand(QStringView name) {
    for (Band& band : bands)
        if (name.compare(band.name, Qt::CaseInsensitive) == 0)
            return &band;
    return nullptr;
}

bool ReportLayout::setText(QStringView name, const QString& text) {
    ReportObject* object = findObject(name);
    if (!object)
        return false;
    if (object->kind == ObjectKind::Memo)
        object->lines = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    else if (object->kind == ObjectKind::Text)
        object->text = text;
    else
        return false;
    return true;
}

bool ReportLayout::setPicture(QStringView name, const QImage& picture) {
    ReportObject* object = findObject(name);
    if (!object || object->kind != ObjectKind::Picture)
        return false;
    object->picture = picture;
    return true;
}

QPageLayout ReportLayout::pageLayout() const {
    return QPageLayout(QPageSize(pageSize), orientation, marginsMm, QPageLayout::Millimeter);
}

QSizeF ReportLayout::printableSize() const {
    const QRectF paint = pageLayout().paintRect(QPageLayout::Millimeter);
    return {mm(paint.width()), mm(paint.height())};
}

} // namespace ombrisa::report
