#pragma once

// The import wizard of the client and call cards: the file and how to read it, the column of each
// field, the preview with every row's verdict, and the report of what was written.

#include "core/import/importplan.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTableWidget;

namespace ombrisa {

class TfrmImporta : public QDialog {
    Q_OBJECT
public:
    TfrmImporta(QWidget* parent, ImportArchive archive);

    // The steps, in order: pagFile, pagColonne, pagAnteprima, pagEsito.
    QStackedWidget* pagine;
    QLineEdit* txtFile;
    QPushButton* cmdSfoglia;
    QComboBox* cboSeparatore;
    QComboBox* cboCodifica;
    QLabel* lblLettura;
    QTableWidget* grdColonne;
    QLabel* lblColonne;
    QLabel* lblRiepilogo;
    QTableWidget* grdAnteprima;
    QCheckBox* chkDoppioni;
    QProgressBar* barAvanzamento;
    QPlainTextEdit* txtResoconto;
    QPushButton* cmdSalvaResoconto;
    QPushButton* cmdIndietro;
    QPushButton* cmdAvanti;
    QPushButton* cmdImporta;
    QPushButton* cmdAnnulla;
    QPushButton* cmdChiudi;

    // Reads `path` as the chosen file (what Sfoglia does once the chooser answers).
    void loadFile(const QString& path);
    const ImportPlan& plan() const { return plan_; }

private:
    void readFile(bool guess);
    void showColumns();
    QStringList mapping() const;
    bool makePlan();
    void showPreview();
    void goTo(int page);
    void avanti();
    void importa();
    void saveReport();

    ImportArchive archive_;
    QString path_;
    SheetResult sheet_;
    ImportPlan plan_;
    bool running_ = false;
    bool cancel_ = false;
};

// Opens the wizard over a card screen (the client card for Clienti, the call card for Chiamate).
void openImporta(QWidget* parent, ImportArchive archive);

} // namespace ombrisa
