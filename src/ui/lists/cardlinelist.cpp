#include "ui/lists/cardlinelist.h"

#include "ui/lists/courierlist.h"

#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QMouseEvent>

#include <algorithm>

namespace ombrisa {

namespace {
constexpr int kItemWidth = 1600;
}

CardLineList::CardLineList(QWidget* parent) : QListView(parent), model_(new CardLineModel(this)) {
    setObjectName(QStringLiteral("lstRecords"));
    setModel(model_);
    setupCourierList(this);
    const QFontMetrics metrics(font());
    model_->setItemSize(QSize(kItemWidth, metrics.height() + 2));
}

std::int64_t CardLineList::selectedCard() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? 0 : model_->cardAt(rows.first().row());
}

void CardLineList::setLines(std::vector<CardLine> lines) {
    // At least 1600 pixels wide, and wider when a line needs it, so that the end of the longest line
    // (a long note or telephone column) can still be scrolled into view.
    qsizetype longest = 0;
    for (const CardLine& line : lines)
        longest = std::max(longest, line.text.size());
    const QFontMetrics metrics(font());
    const int needed = static_cast<int>(std::min<qsizetype>(longest, 4000)) * metrics.horizontalAdvance(u'M') + 8;
    model_->setItemSize(QSize(std::max(kItemWidth, needed), metrics.height() + 2));
    model_->setLines(std::move(lines));
}

void CardLineList::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    emit cardDoubleClicked(selectedCard());
}

} // namespace ombrisa
