#include "ui/search/cardlinelist.h"

#include "ui/common/screen.h"

#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QMouseEvent>

namespace ombrisa {

namespace {
constexpr int kItemWidth = 1600;
}

CardLineList::CardLineList(QWidget* parent) : QListView(parent), model_(new CardLineModel(this)) {
    setObjectName(QStringLiteral("lstRecords"));
    setModel(model_);
    QFont font = screenFont(QStringLiteral("Courier New,Liberation Mono,DejaVu Sans Mono"), 12, false);
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    setStyleSheet(QStringLiteral("QListView { color: black; }"));
    setUniformItemSizes(true); // rows of one height: no per-line measuring, whatever the count
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    const QFontMetrics metrics(font);
    model_->setItemSize(QSize(kItemWidth, metrics.height() + 2));
}

std::int64_t CardLineList::selectedCard() const {
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? 0 : model_->cardAt(rows.first().row());
}

void CardLineList::setLines(std::vector<CardLine> lines) {
    model_->setLines(std::move(lines));
}

void CardLineList::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    emit cardDoubleClicked(selectedCard());
}

} // namespace ombrisa
