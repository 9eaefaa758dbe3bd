#pragma once

// The table model of the export grids: a row number, then the cells of an ExportTable under the grid
// headings. Cells are turned into text only when the view asks for them, so a grid of 200,000 rows
// costs its rows' bytes and nothing per cell.

#include "core/export/spreadsheet.h"

#include <QAbstractTableModel>

namespace ombrisa {

class ExportTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ExportTableModel(ExportColumns columns, QObject* parent = nullptr);

    // Replaces the rows shown.
    void setRows(ExportTable rows);
    const ExportTable& rows() const { return rows_; }
    ExportColumns columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ExportColumns columns_;
    ExportTable rows_;
};

} // namespace ombrisa
