#include "ui/export/exporttablemodel.h"

namespace ombrisa {

ExportTableModel::ExportTableModel(ExportColumns columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns), rows_(static_cast<int>(columns.size())) {}

void ExportTableModel::setRows(ExportTable rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int ExportTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.rowCount());
}

int ExportTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size()) + 1;
}

QVariant ExportTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    if (index.column() == 0)
        return QString::number(index.row() + 1); // numbered from 1, listed rows only
    return rows_.text(index.row(), index.column() - 1);
}

QVariant ExportTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == 0)
        return QStringLiteral("N.");
    if (section > 0 && section <= static_cast<int>(columns_.size()))
        return columns_[section - 1].gridHeading;
    return {};
}

} // namespace ombrisa
