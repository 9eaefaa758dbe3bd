#include "ui/lists/listprint.h"

#include "ui/common/services.h"
#include "ui/reports/printerservice.h"

#include <QAbstractItemModel>

namespace ombrisa {

void printListLines(QWidget* screen, const QString& title, const QStringList& lines, const QStringList& extraLines,
                    const QString& fileTitle) {
    report::PreparedReport report = report::prepareListReport(title, lines, extraLines, clock().now());
    if (!fileTitle.isEmpty())
        report.fileTitle = fileTitle;
    const report::OutputResult result = printerService().print(report, screen);
    if (result.failed())
        showWarning(screen, result.message);
}

QStringList listLines(const QAbstractItemModel* model) {
    QStringList lines;
    if (!model)
        return lines;
    const int count = model->rowCount();
    lines.reserve(count);
    for (int row = 0; row < count; ++row)
        lines.append(model->index(row, 0).data(Qt::DisplayRole).toString());
    return lines;
}

} // namespace ombrisa
