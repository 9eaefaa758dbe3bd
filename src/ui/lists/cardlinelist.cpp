#include "ui/lists/cardlinelist.h"

#include "ui/lists/courierlist.h"

#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QKeyEvent>
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
    updateItemSize(0);
}

std::int64_t CardLineList::selectedCard() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? 0 : model_->cardAt(rows.first().row());
}

void CardLineList::setLines(std::vector<CardLine> lines) {
    updateItemSize(longestLine(lines));
    model_->setLines(std::move(lines));
}

qsizetype CardLineList::longestLine(const std::vector<CardLine>& lines) {
    qsizetype longest = 0;
    for (const CardLine& line : lines)
        longest = std::max(longest, line.text.size());
    return longest;
}

void CardLineList::updateItemSize(qsizetype longest) {
    // At least 1600 pixels wide (a fitted list: as wide as its view), and wider when a line needs it, so
    // that the end of the longest line (a long note or telephone column) can still be scrolled into view.
    const QFontMetrics metrics(font());
    const int needed = static_cast<int>(std::min<qsizetype>(longest, 4000)) * metrics.horizontalAdvance(u'M') + 8;
    const int least = fitCharacters_ > 0 ? viewport()->width() : kItemWidth;
    model_->setItemSize(QSize(std::max(least, needed), metrics.height() + 2));
}

void CardLineList::fitColumns(int characters) {
    fitCharacters_ = characters;
    fitFont();
}

void CardLineList::fitFont() {
    // The room of a line: the view less the margins the item's text is drawn within.
    const int room = viewport()->width() - 8;
    QFont fitted = font();
    for (double points = 12; points >= kLeastFittedPoints; points -= 0.5) {
        fitted.setPointSizeF(points);
        if (QFontMetrics(fitted).horizontalAdvance(QString(fitCharacters_, u'M')) <= room)
            break;
    }
    if (fitted != font())
        setFont(fitted);
    updateItemSize(longestLine(model_->lines()));
}

void CardLineList::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    if (fitCharacters_ > 0)
        fitFont();
}

void CardLineList::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    emit cardDoubleClicked(selectedCard());
}

void CardLineList::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Enter opens the selected line's card, as a double-click does, or else the card of the line the
        // keyboard is on (a list reached with Tab has a current line but no selection yet); on an empty
        // list it does nothing (and never reaches a dialog's default button).
        std::int64_t card = selectedCard();
        if (card == 0 && currentIndex().isValid())
            card = model_->cardAt(currentIndex().row());
        if (card > 0)
            emit cardDoubleClicked(card);
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace ombrisa
