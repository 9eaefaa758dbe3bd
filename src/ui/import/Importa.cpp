#include "ui/import/Importa.h"

#include "core/records/records.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"
#include "ui/common/accessibility.h"
#include "ui/common/services.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ombrisa {

namespace {

constexpr int kPreviewRows = 200;         // rows the preview lists
constexpr qsizetype kProgressFrom = 2000; // rows from which the import shows its progress

QLabel* title(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.2);
    label->setFont(f);
    return label;
}

QString verdictText(RowVerdict verdict) {
    switch (verdict) {
    case RowVerdict::Ready:
        return QStringLiteral("Pronta");
    case RowVerdict::Duplicate:
        return QStringLiteral("Doppione");
    case RowVerdict::Error:
        return QStringLiteral("Errore");
    }
    return {};
}

} // namespace

TfrmImporta::TfrmImporta(QWidget* parent, ImportArchive archive) : QDialog(parent), archive_(archive) {
    const bool clients = archive == ImportArchive::Clienti;
    setObjectName(QStringLiteral("frmImporta"));
    setWindowTitle(clients ? QStringLiteral(" Ombrisa - Importazione dei clienti da un foglio di calcolo")
                           : QStringLiteral(" Ombrisa - Importazione delle chiamate da un foglio di calcolo"));
    resize(1100, 620);

    auto* layout = new QVBoxLayout(this);
    pagine = new QStackedWidget(this);
    pagine->setObjectName(QStringLiteral("pagine"));
    layout->addWidget(pagine, 1);

    // 1. The file.
    auto* file = new QWidget(pagine);
    file->setObjectName(QStringLiteral("pagFile"));
    auto* fileLayout = new QVBoxLayout(file);
    fileLayout->addWidget(title(file, QStringLiteral("1. Il file da importare")));
    fileLayout->addWidget(new QLabel(
        QStringLiteral("Scegliere un file CSV o TSV, un file esportato dal programma (.xls) oppure un foglio di "
                       "calcolo .xlsx o .ods (questi ultimi richiedono LibreOffice). La prima riga del file deve "
                       "contenere le intestazioni delle colonne."),
        file));
    fileLayout->itemAt(1)->widget()->setProperty("wordWrap", true);
    auto* pick = new QHBoxLayout;
    txtFile = new QLineEdit(file);
    txtFile->setObjectName(QStringLiteral("txtFile"));
    txtFile->setReadOnly(true);
    txtFile->setAccessibleName(QStringLiteral("File da importare"));
    cmdSfoglia = new QPushButton(QStringLiteral("Sfoglia..."), file);
    cmdSfoglia->setObjectName(QStringLiteral("cmdSfoglia"));
    pick->addWidget(txtFile, 1);
    pick->addWidget(cmdSfoglia);
    fileLayout->addLayout(pick);
    auto* options = new QHBoxLayout;
    auto* lblSeparatore = new QLabel(QStringLiteral("Separatore:"), file);
    options->addWidget(lblSeparatore);
    cboSeparatore = new QComboBox(file);
    cboSeparatore->setObjectName(QStringLiteral("cboSeparatore"));
    cboSeparatore->setAccessibleName(QStringLiteral("Separatore"));
    lblSeparatore->setBuddy(cboSeparatore);
    cboSeparatore->addItem(QStringLiteral("Punto e virgola ( ; )"), QStringLiteral(";"));
    cboSeparatore->addItem(QStringLiteral("Virgola ( , )"), QStringLiteral(","));
    cboSeparatore->addItem(QStringLiteral("Tabulazione"), QStringLiteral("\t"));
    options->addWidget(cboSeparatore);
    options->addSpacing(20);
    auto* lblCodifica = new QLabel(QStringLiteral("Codifica dei caratteri:"), file);
    options->addWidget(lblCodifica);
    cboCodifica = new QComboBox(file);
    cboCodifica->setObjectName(QStringLiteral("cboCodifica"));
    cboCodifica->setAccessibleName(QStringLiteral("Codifica dei caratteri"));
    lblCodifica->setBuddy(cboCodifica);
    cboCodifica->addItem(QStringLiteral("UTF-8"));
    cboCodifica->addItem(QStringLiteral("Windows-1252"));
    options->addWidget(cboCodifica);
    options->addStretch(1);
    fileLayout->addLayout(options);
    lblLettura = new QLabel(file);
    lblLettura->setObjectName(QStringLiteral("lblLettura"));
    lblLettura->setWordWrap(true);
    markAsStatus(lblLettura); // what the file holds, read out once it is read
    fileLayout->addWidget(lblLettura);
    fileLayout->addStretch(1);
    pagine->addWidget(file);

    // 2. The columns.
    auto* columns = new QWidget(pagine);
    columns->setObjectName(QStringLiteral("pagColonne"));
    auto* columnsLayout = new QVBoxLayout(columns);
    columnsLayout->addWidget(title(columns, QStringLiteral("2. Il campo della scheda per ogni colonna")));
    lblColonne = new QLabel(QStringLiteral("I campi sono stati proposti in base alle intestazioni: controllarli e "
                                           "scegliere \"Ignora\" per le colonne da non importare."),
                            columns);
    lblColonne->setObjectName(QStringLiteral("lblColonne"));
    lblColonne->setWordWrap(true);
    columnsLayout->addWidget(lblColonne);
    grdColonne = new QTableWidget(0, 3, columns);
    grdColonne->setObjectName(QStringLiteral("grdColonne"));
    grdColonne->setAccessibleName(QStringLiteral("Colonne del file e campi della scheda"));
    grdColonne->setHorizontalHeaderLabels(
        {QStringLiteral("Colonna del file"), QStringLiteral("Campo della scheda"), QStringLiteral("Primo valore")});
    grdColonne->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grdColonne->verticalHeader()->setVisible(false);
    grdColonne->setEditTriggers(QAbstractItemView::NoEditTriggers);
    columnsLayout->addWidget(grdColonne, 1);
    pagine->addWidget(columns);

    // 3. The preview.
    auto* preview = new QWidget(pagine);
    preview->setObjectName(QStringLiteral("pagAnteprima"));
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->addWidget(title(preview, QStringLiteral("3. Anteprima: le righe come saranno archiviate")));
    lblRiepilogo = new QLabel(preview);
    lblRiepilogo->setObjectName(QStringLiteral("lblRiepilogo"));
    lblRiepilogo->setWordWrap(true);
    markAsStatus(lblRiepilogo);
    previewLayout->addWidget(lblRiepilogo);
    grdAnteprima = new QTableWidget(preview);
    grdAnteprima->setObjectName(QStringLiteral("grdAnteprima"));
    grdAnteprima->setAccessibleName(QStringLiteral("Anteprima delle righe"));
    grdAnteprima->verticalHeader()->setVisible(false);
    grdAnteprima->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdAnteprima->horizontalHeader()->setDefaultSectionSize(150);
    previewLayout->addWidget(grdAnteprima, 1);
    chkDoppioni = new QCheckBox(QStringLiteral("Importa anche le righe doppioni (altrimenti vengono saltate)"), preview);
    chkDoppioni->setObjectName(QStringLiteral("chkDoppioni"));
    previewLayout->addWidget(chkDoppioni);
    barAvanzamento = new QProgressBar(preview);
    barAvanzamento->setObjectName(QStringLiteral("barAvanzamento"));
    barAvanzamento->setVisible(false);
    previewLayout->addWidget(barAvanzamento);
    pagine->addWidget(preview);

    // 4. The report.
    auto* result = new QWidget(pagine);
    result->setObjectName(QStringLiteral("pagEsito"));
    auto* resultLayout = new QVBoxLayout(result);
    resultLayout->addWidget(title(result, QStringLiteral("4. Resoconto dell'importazione")));
    txtResoconto = new QPlainTextEdit(result);
    txtResoconto->setObjectName(QStringLiteral("txtResoconto"));
    txtResoconto->setAccessibleName(QStringLiteral("Resoconto dell'importazione"));
    txtResoconto->setReadOnly(true);
    resultLayout->addWidget(txtResoconto, 1);
    cmdSalvaResoconto = new QPushButton(QStringLiteral("Salva il resoconto..."), result);
    cmdSalvaResoconto->setObjectName(QStringLiteral("cmdSalvaResoconto"));
    resultLayout->addWidget(cmdSalvaResoconto, 0, Qt::AlignLeft);
    pagine->addWidget(result);

    auto* buttons = new QHBoxLayout;
    auto button = [&](QPushButton*& member, const char* name, const QString& text) {
        member = new QPushButton(text, this);
        member->setObjectName(QString::fromLatin1(name));
        member->setAutoDefault(false);
        buttons->addWidget(member);
    };
    buttons->addStretch(1);
    button(cmdIndietro, "cmdIndietro", QStringLiteral("< Indietro"));
    button(cmdAvanti, "cmdAvanti", QStringLiteral("Avanti >"));
    button(cmdImporta, "cmdImporta", QStringLiteral("Importa"));
    button(cmdAnnulla, "cmdAnnulla", QStringLiteral("Annulla"));
    button(cmdChiudi, "cmdChiudi", QStringLiteral("Chiudi"));
    layout->addLayout(buttons);

    connect(cmdSfoglia, &QPushButton::clicked, this, [this] {
        const QString chosen = fileChooser().openFile(
            this, QStringLiteral("Scegliere il file da importare"), QString(),
            QStringLiteral("Fogli di calcolo (*.csv *.tsv *.txt *.xls *.xlsx *.ods);;Tutti i file (*)"));
        if (!chosen.isEmpty())
            loadFile(chosen);
    });
    connect(cboSeparatore, &QComboBox::activated, this, [this] { readFile(false); });
    connect(cboCodifica, &QComboBox::activated, this, [this] { readFile(false); });
    connect(cmdIndietro, &QPushButton::clicked, this, [this] { goTo(pagine->currentIndex() - 1); });
    connect(cmdAvanti, &QPushButton::clicked, this, &TfrmImporta::avanti);
    connect(cmdImporta, &QPushButton::clicked, this, &TfrmImporta::importa);
    connect(cmdAnnulla, &QPushButton::clicked, this, [this] { cancel_ = true; });
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSalvaResoconto, &QPushButton::clicked, this, &TfrmImporta::saveReport);
    goTo(0);
}

void TfrmImporta::loadFile(const QString& path) {
    path_ = path;
    txtFile->setText(QFileInfo(path).absoluteFilePath());
    readFile(true);
}

void TfrmImporta::readFile(bool guess) {
    if (path_.isEmpty())
        return;
    SheetOptions options;
    if (!guess) {
        options.separator = cboSeparatore->currentData().toString().front();
        options.encoding = cboCodifica->currentIndex() == 0 ? TextEncoding::Utf8 : TextEncoding::Cp1252;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    sheet_ = readSheetFile(path_, options);
    QApplication::restoreOverrideCursor();
    if (!sheet_.ok) {
        lblLettura->setText(sheet_.error);
        goTo(0);
        return;
    }
    cboSeparatore->setCurrentIndex(std::max(0, cboSeparatore->findData(QString(sheet_.separator))));
    cboCodifica->setCurrentIndex(sheet_.encoding == TextEncoding::Utf8 ? 0 : 1);
    lblLettura->setText(QStringLiteral("Il file contiene %1 e %2 oltre alle intestazioni.")
                            .arg(importCount(sheet_.table.headings.size(), "colonna", "colonne"),
                                 importCount(static_cast<qsizetype>(sheet_.table.rows.size()), "riga", "righe")));
    showColumns();
    goTo(0);
}

void TfrmImporta::showColumns() {
    const QStringList guessed = rememberedMapping(archive_, sheet_.table.headings);
    grdColonne->setRowCount(static_cast<int>(sheet_.table.headings.size()));
    for (int c = 0; c < sheet_.table.headings.size(); ++c) {
        grdColonne->setItem(c, 0, new QTableWidgetItem(sheet_.table.headings[c]));
        auto* box = new QComboBox(grdColonne);
        box->setObjectName(QStringLiteral("cboCampo%1").arg(c + 1));
        box->addItem(kIgnoreCaption, QString());
        for (const ImportTarget& t : importTargets(archive_))
            box->addItem(t.caption, t.key);
        box->setCurrentIndex(std::max(0, box->findData(guessed.value(c))));
        grdColonne->setCellWidget(c, 1, box);
        const QString first = sheet_.table.rows.empty() ? QString() : sheet_.table.rows.front().cell(c).toString();
        grdColonne->setItem(c, 2, new QTableWidgetItem(first));
    }
}

QStringList TfrmImporta::mapping() const {
    QStringList keys;
    for (int c = 0; c < grdColonne->rowCount(); ++c)
        keys << qobject_cast<QComboBox*>(grdColonne->cellWidget(c, 1))->currentData().toString();
    return keys;
}

bool TfrmImporta::makePlan() {
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = makeImportPlan(archive_, sheet_.table, mapping(), plan_, &error);
    QApplication::restoreOverrideCursor();
    if (!ok)
        showError(this, kArchiveMessage);
    return ok;
}

void TfrmImporta::showPreview() {
    lblRiepilogo->setText(QStringLiteral("Righe pronte: %1.   Doppioni: %2.   Righe con errori (non saranno "
                                         "importate): %3.")
                              .arg(plan_.ready)
                              .arg(plan_.duplicates)
                              .arg(plan_.errors));
    // The fields the columns fill, as they will be stored.
    const FieldTable fields =
        archive_ == ImportArchive::Clienti ? FieldTable(kClienteFields) : FieldTable(kChiamataFields);
    std::vector<bool> filled(fields.size(), false);
    std::vector<std::uint8_t> record(plan_.recordSize);
    for (std::size_t r = 0; r < plan_.rows.size(); ++r) {
        plan_.record(r, record.data());
        for (std::size_t f = 0; f < fields.size(); ++f)
            filled[f] = filled[f] || record[fields[f].offset] != 0;
    }
    std::vector<const FieldDef*> shown;
    for (std::size_t f = 0; f < fields.size(); ++f)
        if (filled[f])
            shown.push_back(&fields[f]);
    QStringList headings{QStringLiteral("Riga"), QStringLiteral("Esito"), QStringLiteral("Motivo e avvisi")};
    for (const FieldDef* f : shown)
        headings << importFieldCaption(archive_, f->name);
    grdAnteprima->clear();
    grdAnteprima->setColumnCount(static_cast<int>(headings.size()));
    grdAnteprima->setHorizontalHeaderLabels(headings);
    const int rows = static_cast<int>(std::min<std::size_t>(plan_.rows.size(), kPreviewRows));
    grdAnteprima->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const PlannedRow& row = plan_.rows[static_cast<std::size_t>(r)];
        plan_.record(static_cast<std::size_t>(r), record.data());
        grdAnteprima->setItem(r, 0, new QTableWidgetItem(QString::number(row.line)));
        auto* verdict = new QTableWidgetItem(verdictText(row.verdict));
        if (row.verdict == RowVerdict::Error)
            verdict->setForeground(QColor(0xb0, 0x20, 0x20));
        else if (row.verdict == RowVerdict::Duplicate)
            verdict->setForeground(QColor(0xa0, 0x60, 0x00));
        grdAnteprima->setItem(r, 1, verdict);
        QStringList notes;
        if (!row.reason.isEmpty())
            notes << row.reason;
        notes << row.warnings;
        grdAnteprima->setItem(r, 2, new QTableWidgetItem(notes.join(QStringLiteral("; "))));
        for (std::size_t f = 0; f < shown.size(); ++f)
            grdAnteprima->setItem(r, static_cast<int>(f) + 3,
                                  new QTableWidgetItem(GetText(record.data(), *shown[f])));
    }
    grdAnteprima->setColumnWidth(0, 50);
    grdAnteprima->setColumnWidth(1, 80);
    grdAnteprima->setColumnWidth(2, 360);
    grdAnteprima->setWordWrap(true);
    grdAnteprima->resizeRowsToContents();
}

void TfrmImporta::goTo(int page) {
    page = std::clamp(page, 0, 3);
    pagine->setCurrentIndex(page);
    cmdIndietro->setVisible(page > 0 && page < 3);
    cmdAvanti->setVisible(page < 2);
    cmdAvanti->setEnabled(page > 0 || sheet_.ok);
    cmdImporta->setVisible(page == 2);
    cmdImporta->setEnabled(!running_);
    cmdAnnulla->setVisible(running_);
    cmdChiudi->setEnabled(!running_);
}

void TfrmImporta::avanti() {
    if (pagine->currentIndex() == 0) {
        if (sheet_.ok)
            goTo(1);
        return;
    }
    if (const QString problem = mappingProblem(archive_, mapping()); !problem.isEmpty()) {
        showWarning(this, problem);
        return;
    }
    if (!makePlan())
        return;
    showPreview();
    goTo(2);
}

void TfrmImporta::importa() {
    const bool duplicates = chkDoppioni->isChecked();
    const qsizetype chosen = plan_.ready + (duplicates ? plan_.duplicates : 0);
    if (chosen == 0) {
        showWarning(this, QStringLiteral("Nessuna riga da importare."));
        return;
    }
    running_ = true;
    cancel_ = false;
    barAvanzamento->setVisible(chosen >= kProgressFrom);
    barAvanzamento->setRange(0, 100);
    barAvanzamento->setValue(0);
    goTo(2);
    const ImportResult result = runImport(plan_, duplicates, [this, chosen](std::int64_t written, std::int64_t total) {
        if (chosen >= kProgressFrom) {
            barAvanzamento->setValue(total > 0 ? static_cast<int>(written * 100 / total) : 100);
            QApplication::processEvents();
        }
        return !cancel_;
    });
    running_ = false;
    barAvanzamento->setVisible(false);
    switch (result.outcome) {
    case ImportOutcome::Written: {
        rememberMapping(archive_, sheet_.table.headings, mapping());
        QStringList lines;
        if (result.written == 1)
            lines << QStringLiteral("Scheda inserita in archivio: n. %1.").arg(result.firstCard);
        else if (result.written > 1)
            lines << QStringLiteral("Schede inserite in archivio: dalla n. %1 alla n. %2.")
                         .arg(result.firstCard)
                         .arg(result.firstCard + result.written - 1);
        lines << importReportLines(plan_, result, duplicates);
        txtResoconto->setPlainText(lines.join(u'\n'));
        goTo(3);
        return;
    }
    case ImportOutcome::ArchiveChanged:
        showWarning(this, QStringLiteral("Un'altra postazione ha modificato l'archivio dopo l'anteprima: nessuna "
                                         "scheda è stata importata.\n\r\n\rL'anteprima è stata rifatta: "
                                         "controllarla e premere di nuovo Importa."));
        if (makePlan())
            showPreview();
        goTo(2);
        return;
    case ImportOutcome::Cancelled:
        showInformation(this, QStringLiteral("Importazione annullata: l'archivio non è stato modificato."));
        goTo(2);
        return;
    case ImportOutcome::Failed:
        showError(this, kArchiveMessage);
        goTo(2);
        return;
    }
}

void TfrmImporta::saveReport() {
    const QString target = fileChooser().saveFile(this, QStringLiteral("Salva il resoconto"),
                                                  QStringLiteral("Resoconto importazione.txt"),
                                                  QStringLiteral("Testo (*.txt)"), QStringLiteral("txt"));
    if (target.isEmpty())
        return;
    QSaveFile file(target);
    const QByteArray text = txtResoconto->toPlainText().toUtf8() + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        showError(this, QStringLiteral("Impossibile salvare il resoconto in %1.").arg(target));
}

void openImporta(QWidget* parent, ImportArchive archive) {
    execDialog(new TfrmImporta(parent, archive));
}

} // namespace ombrisa
