#pragma once

#include "report/reportlayout.h"

namespace ombrisa::report {

// One object placed on a page. The rectangle is in report units from the printable area's top left
// corner. A memo split across pages gives one item per page, each with the lines of that page.
struct PreparedItem {
    QString name;
    ObjectKind kind = ObjectKind::Text;
    QRectF rect;
    QString text;          // memos: the lines of this page joined by line feeds
    double lineHeight = 0; // memos: the distance between two lines
    QImage picture;
    FontDef font;
    QColor textColor;
    QColor fill;
    QColor frame;
    double frameWidth = 1.0;
    Qt::Alignment alignment;
};

struct PreparedPage {
    QList<PreparedItem> items;
};

// A layout laid out into pages: what the painter draws and what tests look at.
struct PreparedReport {
    QString reportName;
    // What is printed, in words ("Scheda cliente Rossi Mario"): the print job's name and the name the
    // print dialog proposes for a PDF file. Empty: the report's name.
    QString fileTitle;
    QString author;
    QPageLayout pageLayout;
    QSizeF printableSize;
    QList<PreparedPage> pages;

    // Items of that name on a page (compared without regard to case), in drawing order.
    QList<const PreparedItem*> find(int page, const QString& name) const;
    // The first item of that name on any page, nullptr when there is none.
    const PreparedItem* first(const QString& name) const;
};

// Lays the bands out one under the other: the report title at the top of the first page, then the
// data band, then the footer. A band that does not fit on what is left of a page goes to a new page;
// a band that may split keeps on the current page the memo lines that fit whole and carries the rest
// to the next pages. The distance between the lines of a memo is its height divided by its number of
// lines. A memo without lines prints nothing.
PreparedReport prepare(const ReportLayout& layout);

} // namespace ombrisa::report
