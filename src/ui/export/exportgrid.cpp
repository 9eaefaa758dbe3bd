#include "ui/export/exportgrid.h"

#include "ui/app/guida.h"
#include "ui/cards/cardwidgets.h"
#include "ui/common/conventions.h"
#include "ui/common/hintline.h"
#include "ui/common/openurl.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "ui/common/windowguard.h"
#include "ui/export/exporttablemodel.h"

#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace ombrisa {

const QString kExportQuestion =
    QStringLiteral("L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di schede "
                   "presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString kExportDoneQuestion =
    QStringLiteral("Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?");
const QString kExportFailedMessage = QStringLiteral("Attenzione: il sistema non permette di esportare i "
                                                    "dati.\n\r\n\rAccertarsi che il file di Excel non sia già aperto.");

namespace {

constexpr int kWidth = 1240;
constexpr int kHeight = 660;
// Grids larger than this show a progress dialog while they are written.
constexpr qsizetype kProgressRows = 20000;

} // namespace

ExportGridDialog::ExportGridDialog(QWidget* parent, const ExportScreenSetup& setup, const QString& choice)
    : QDialog(parent, kFixedDialogFlags), setup_(setup), choice_(choice) {
    applyScreenFormats();
    setObjectName(setup.objectName);
    setWindowTitle(setup.caption);
    setStyleSheet(QStringLiteral("QDialog#%1 { background: #e4e4e4; }"
                                 "QFrame#panComandi { background: white; border-bottom: 1px solid #b8b8b8; }"
                                 "QLabel#panInfo { color: white; background: #245a80; padding: 4px 8px; }"
                                 "QTableView#grdRecords { background: white; alternate-background-color: #eef3f8;"
                                 " gridline-color: #c8c8c8; }")
                      .arg(setup.objectName));

    auto* band = new QFrame(this);
    band->setObjectName(QStringLiteral("panComandi"));
    imgLogo = new PictureBox(QStringLiteral(":/app/art/logo.svg"), band);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setFixedSize(180, 56);
    icoHand = new PictureBox(QStringLiteral(":/export/art/mano.svg"), band);
    icoHand->setObjectName(QStringLiteral("icoHand"));
    icoHand->setFixedSize(40, 40);
    cmdEsporta = makeCommandPicture(band, QStringLiteral("cmdEsporta"), QStringLiteral(":/cards/art/esporta.svg"),
                                    QStringLiteral("Esporta"), 34);
    cmdGuida = makeCommandPicture(band, QStringLiteral("cmdGuida"), QStringLiteral(":/cards/art/guida.svg"),
                                  QStringLiteral("Guida"), 34);
    cmdEsci = makeCommandPicture(band, QStringLiteral("cmdEsci"), QStringLiteral(":/cards/art/esci.svg"),
                                 QStringLiteral("Esci"), 34);
    auto* bandRow = new QHBoxLayout(band);
    bandRow->setContentsMargins(12, 6, 12, 6);
    bandRow->setSpacing(10);
    bandRow->addWidget(imgLogo);
    bandRow->addStretch();
    bandRow->addWidget(icoHand);
    bandRow->addWidget(cmdEsporta);
    bandRow->addWidget(cmdGuida);
    bandRow->addWidget(cmdEsci);

    model_ = new ExportTableModel(exportDef(setup.kind).columns, this);
    grdRecords = new QTableView(this);
    grdRecords->setObjectName(QStringLiteral("grdRecords"));
    grdRecords->setModel(model_);
    grdRecords->setAlternatingRowColors(true);
    grdRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRecords->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdRecords->setWordWrap(false);
    grdRecords->verticalHeader()->hide();
    // Fixed row heights let the view place any of 200,000 rows without measuring them.
    grdRecords->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRecords->verticalHeader()->setDefaultSectionSize(24);
    grdRecords->horizontalHeader()->setHighlightSections(false);
    grdRecords->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grdRecords->setColumnWidth(0, 60);
    const ExportColumns columns = exportDef(setup.kind).columns;
    // The file's widths, narrowed for the screen, never narrower than the heading.
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const int section = static_cast<int>(c) + 1;
        grdRecords->setColumnWidth(
            section, std::max(columns[c].width * 3 / 5 + 20, grdRecords->horizontalHeader()->sectionSizeHint(section)));
    }

    panInfo = new QLabel(QStringLiteral("Esportazione archivio in Microsoft Excel."), this);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setFont(QFont(QStringLiteral("Tahoma"), 11));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(band);
    auto* gridBox = new QVBoxLayout;
    gridBox->setContentsMargins(10, 10, 10, 10);
    gridBox->addWidget(grdRecords);
    layout->addLayout(gridBox, 1);
    layout->addWidget(panInfo);

    hintLine_ = new HintLine(panInfo);
    hintLine_->setHint(cmdEsporta, QStringLiteral("Esporta l'archivio in formato Microsoft Excel."));
    hintLine_->setHint(cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    hintLine_->setHint(cmdEsci, QStringLiteral("Esci da questo ambiente di lavoro."));
    hintLine_->clearOver(this);
    hintLine_->clearOver(grdRecords->viewport());

    connect(cmdEsporta, &QToolButton::clicked, this, &ExportGridDialog::cmdEsportaClick);
    connect(cmdGuida, &QToolButton::clicked, this, &ExportGridDialog::cmdGuidaClick);
    connect(cmdEsci, &QToolButton::clicked, this, &ExportGridDialog::cmdEsciClick);

    makeFixedWindow(this, kWidth, kHeight, parent);
}

void ExportGridDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!filled_) {
        filled_ = true;
        fillGrid();
    }
}

void ExportGridDialog::fillGrid() {
    ExportTable rows;
    QString error;
    const bool ok = fillExportRows(setup_.kind, rows, choice_, &error);
    model_->setRows(std::move(rows));
    // An empty grid after a failed read is no export: the last good file must not be replaced by it.
    cmdEsporta->setEnabled(ok);
    if (!ok)
        showError(this, kArchiveMessage);
}

void ExportGridDialog::cmdEsportaClick() {
    if (!confirm(this, kExportQuestion))
        return;
    const ExportDef& def = exportDef(setup_.kind);
    const QString path = appPath(def.fileName);
    const ExportTable& rows = model_->rows();

    std::unique_ptr<QProgressDialog> progress;
    if (rows.rowCount() > kProgressRows) {
        progress =
            std::make_unique<QProgressDialog>(QStringLiteral("Esportazione dei dati in Excel in corso..."),
                                              QStringLiteral("Annulla"), 0, static_cast<int>(rows.rowCount()), this);
        progress->setObjectName(QStringLiteral("frmAvanzamento"));
        progress->setWindowTitle(setup_.caption);
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(300);
        progress->setAutoReset(false);
        progress->setAutoClose(false);
    }
    const ExportOutcome outcome =
        exportSpreadsheet(path, def.sheetName, def.columns, rows, [&progress](qsizetype done) {
            if (!progress)
                return true;
            progress->setValue(static_cast<int>(done));
            return !progress->wasCanceled();
        });
    progress.reset();
    switch (outcome) {
    case ExportOutcome::Written:
        if (confirm(this, kExportDoneQuestion))
            TMisc::Open(QLatin1Char('"') + path + QLatin1Char('"'), this);
        break;
    case ExportOutcome::Failed:
        showPlain(this, kExportFailedMessage);
        break;
    case ExportOutcome::Cancelled:
        break; // the user stopped it: the older file is as it was
    }
}

void ExportGridDialog::cmdGuidaClick() {
    showHelp(this, setup_.helpTitle, setup_.helpParagraphs);
}

void ExportGridDialog::cmdEsciClick() {
    reject();
}

} // namespace ombrisa
