#pragma once

#include "report/preparedreport.h"

#include <QDialog>

class QAction;
class QPrintPreviewWidget;
class QPrinter;

namespace ombrisa {

// The preview window: the prepared pages at zoom 1 and a toolbar with print, zoom in and out, full
// screen and close only. Printing goes through printerService(). Nothing can be edited.
class ReportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReportPreviewDialog(report::PreparedReport report, QWidget* parent = nullptr);
    ~ReportPreviewDialog() override;

    QPrintPreviewWidget* previewWidget() const { return preview_; }

private:
    void paintRequested(QPrinter* printer);

    report::PreparedReport report_;
    QPrinter* printer_;
    QPrintPreviewWidget* preview_;
};

} // namespace ombrisa
