#include "ui/lists/cardlinemodel.h"

namespace ombrisa {

void CardLineModel::setLines(std::vector<CardLine> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

std::int64_t CardLineModel::cardAt(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < lines_.size() ? lines_[static_cast<std::size_t>(row)].card : 0;
}

void CardLineModel::setItemSize(QSize size) {
    itemSize_ = size;
    if (!lines_.empty())
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::SizeHintRole});
}

int CardLineModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant CardLineModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return lines_[static_cast<std::size_t>(index.row())].text;
    if (role == Qt::SizeHintRole && itemSize_.isValid())
        return itemSize_;
    return {};
}

} // namespace ombrisa
