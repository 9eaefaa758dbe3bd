#pragma once

// The one grid screen of the spreadsheet exports. Each of the four screens (TfrmExpChiamate,
// TfrmExpClienti, TfrmRiepChiamateOggi, TfrmStoricoChiamate) is this dialog configured with its export,
// caption, help and, for today's calls and a client's history, the text that chooses the calls.
// Showing it fills the grid once; cmdEsporta writes what the grid holds.

#include "core/export/exports.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QTableView;
class QToolButton;

namespace ombrisa {

class ExportTableModel;
class HintLine;
class PictureBox;

struct ExportScreenSetup {
    QString objectName; // frmExpChiamate...
    QString caption;
    ExportKind kind;
    QString helpTitle;
    QStringList helpParagraphs;
};

class ExportGridDialog : public QDialog {
    Q_OBJECT
public:
    // `choice` is what chooses the calls of today's list (the date text) or of a history (the codice
    // fiscale); the other exports ignore it.
    ExportGridDialog(QWidget* parent, const ExportScreenSetup& setup, const QString& choice = QString());

    // Fills the grid from the archive; on a read failure shows the archive message and leaves it empty.
    // Runs by itself the first time the screen is shown.
    void fillGrid();
    ExportTableModel& model() { return *model_; }

    PictureBox* imgLogo;
    PictureBox* icoHand;
    QToolButton* cmdEsporta;
    QToolButton* cmdGuida;
    QToolButton* cmdEsci;
    QTableView* grdRecords;
    QLabel* panInfo;

public slots:
    void cmdEsportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    ExportScreenSetup setup_;
    QString choice_;
    ExportTableModel* model_;
    HintLine* hintLine_;
    bool filled_ = false;
};

// The export procedure's texts, the same on the four screens.
extern const QString kExportQuestion;
extern const QString kExportDoneQuestion;
extern const QString kExportFailedMessage;

} // namespace ombrisa
