#pragma once

#include "core/search/cardline.h"

#include <QAbstractListModel>
#include <QSize>
#include <vector>

namespace ombrisa {

// The lines of a list screen, each with the card it was built from. One row per line, the text as
// display role; no widget item per line, so that hundreds of thousands of lines show at once.
class CardLineModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setLines(std::vector<CardLine> lines);
    void clear() { setLines({}); }
    const std::vector<CardLine>& lines() const { return lines_; }
    // The card of a row, or 0 outside the list.
    std::int64_t cardAt(int row) const;
    // The size every row reports (the list's item width and the line height); invalid: the delegate's.
    void setItemSize(QSize size);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<CardLine> lines_;
    QSize itemSize_;
};

} // namespace ombrisa
