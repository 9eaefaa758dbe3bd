#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace ombrisa::report {

// Report units: 1/96 inch (a pixel at 96 dots per inch). Every position, size and font height of a
// layout is in these units.
inline constexpr double kUnitsPerMm = 96.0 / 25.4;
constexpr double mm(double millimetres) {
    return millimetres * kUnitsPerMm;
}

enum class ObjectKind {
    Text,    // one line of text, never wrapped
    Memo,    // lines of text one under the other, never wrapped; may be split across pages
    Picture, // an image centred in its box and scaled to fit with its proportions kept
    Line,    // a rule from the top left to the bottom right corner of its box (height or width 0)
    Box,     // a filled and/or framed rectangle
};

// A font as the layout names it ("Arial", "Verdana", "Courier New"); the painter maps the family to
// a face available on the machine with the same proportions.
struct FontDef {
    QString family = QStringLiteral("Arial");
    double pixelSize = 13.33;
    bool bold = false;
};

// One named object of a band. Its rectangle is relative to the band's top left corner, which lies at
// the left edge of the printable area. Texts are printed literally: nothing in them is evaluated.
struct ReportObject {
    QString name;
    ObjectKind kind = ObjectKind::Text;
    QRectF rect;
    QString text;      // Text
    QStringList lines; // Memo
    QImage picture;    // Picture
    FontDef font;
    QColor textColor = Qt::black;
    QColor fill;  // invalid: not filled
    QColor frame; // invalid: no frame (for a Line, its colour)
    double frameWidth = 1.0;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;

    // Text objects: the text; memos: the lines joined by line feeds.
    QString wholeText() const;
};

enum class BandKind {
    ReportTitle, // printed once at the top of the first page
    MasterData,  // printed once after the title; may continue on the following pages
    Footer,      // printed once after the data
};

struct Band {
    QString name;
    BandKind kind = BandKind::ReportTitle;
    double height = 0;
    bool canSplit = false; // a band taller than what is left of the page continues on the next one
    QList<ReportObject> objects;
};

// A report layout is plain data: the page and the bands with their named objects, in printing order.
// Screens fill it by object name and hand it to prepare().
class ReportLayout {
public:
    QString reportName;
    QString author;
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF marginsMm{10, 10, 10, 10};
    QList<Band> bands;

    // The object or band of that name, compared without regard to case; nullptr when there is none.
    ReportObject* findObject(QStringView name);
    const ReportObject* findObject(QStringView name) const;
    Band* findBand(QStringView name);

    // Sets the text of a text or memo object (a memo takes one line per line feed). False when the
    // layout has no text object of that name.
    bool setText(QStringView name, const QString& text);
    bool setPicture(QStringView name, const QImage& picture);

    QPageLayout pageLayout() const;
    // Width and height of the printable area (page minus margins), in report units.
    QSizeF printableSize() const;
};

} // namespace ombrisa::report
