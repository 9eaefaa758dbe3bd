#include "ui/agents/Lavori_Svolti.h"

#include "core/cards/cardnavigator.h"

#include "core/dates/dates.h"
#include "core/records/archivepaths.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"
#include "core/work/workregister.h"
#include "report/layouts/listreport.h"
#include "ui/common/conventions.h"
#include "ui/common/focuslook.h"
#include "ui/common/keyfilters.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "ui/lists/courierlist.h"
#include "ui/lists/findbox.h"
#include "ui/lists/listprint.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

#include <algorithm>

namespace ombrisa {

namespace {

QLabel* instruction(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QPushButton* button(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setMinimumWidth(150);
    makeClickable(b);
    return b;
}

QLineEdit* box(const char* name, int limit, QWidget* parent) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(QLatin1String(name));
    b->setMaxLength(limit);
    applyFieldLook(b);
    return b;
}

} // namespace

TfrmLavori_Svolti::TfrmLavori_Svolti(QWidget* owner, const QLineEdit* agentName, const QLineEdit* codFisc)
    : QDialog(owner), agentName_(agentName), codFisc_(codFisc) {
    applyScreenFormats();
    setObjectName(QStringLiteral("frmLavori_Svolti"));
    setWindowTitle(QStringLiteral(" Registro prestazioni lavorative"));
    setStyleSheet(QStringLiteral("#frmLavori_Svolti { background: #eef3f8; }"
                                 "QLabel#lblTitolo { color: #245a80; }"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(16, 12, 16, 12);

    // The list panel.
    panContainer = new QFrame(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    auto* list = new QVBoxLayout(panContainer);
    list->setContentsMargins(0, 0, 0, 0);
    lblTitolo = new QLabel(panContainer);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 13, true));
    list->addWidget(lblTitolo);
    list->addWidget(instruction(QStringLiteral("Immettere una o più parole consecutive presenti nella scheda in "
                                               "elenco da cercare e premere il pulsante Trova."),
                                panContainer));
    lstRecords = new QListView(panContainer);
    lstRecords->setObjectName(QStringLiteral("lstRecords"));
    setupWorkList(lstRecords);
    model_ = new QStringListModel(this);
    lstRecords->setModel(model_);
    find_ = new FindBox(lstRecords, panContainer);
    txtTrova = find_->txtTrova;
    btnTrova = find_->btnTrova;
    txtTrova->setMaximumWidth(520);
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(find_);
    findRow->addStretch(1);
    list->addLayout(findRow);
    list->addWidget(lstRecords, 1);
    list->addWidget(instruction(QStringLiteral("Per modificare una scheda in elenco, selezionarla con un clic e "
                                               "premere il pulsante Modifica attività."),
                                panContainer));
    auto* buttons = new QHBoxLayout;
    btnChiudi = button("btnChiudi", QStringLiteral("Chiudi"), panContainer);
    btnAggiungi = button("btnAggiungi", QStringLiteral("Aggiungi attività"), panContainer);
    btnModifica = button("btnModifica", QStringLiteral("Modifica attività"), panContainer);
    btnStampa = button("btnStampa", QStringLiteral("Stampa riepilogo"), panContainer);
    lblTotale = new QLabel(QStringLiteral("0"), panContainer);
    lblTotale->setObjectName(QStringLiteral("lblTotale"));
    lblTotale->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 10, true));
    buttons->addWidget(new QLabel(QStringLiteral("Totale prestazioni:"), panContainer));
    buttons->addWidget(lblTotale);
    buttons->addStretch(1);
    buttons->addWidget(btnAggiungi);
    buttons->addWidget(btnModifica);
    buttons->addWidget(btnStampa);
    buttons->addWidget(btnChiudi);
    list->addLayout(buttons);
    outer->addWidget(panContainer);

    // The edit panel.
    panCosti = new QFrame(this);
    panCosti->setObjectName(QStringLiteral("panCosti"));
    auto* edit = new QVBoxLayout(panCosti);
    edit->setContentsMargins(0, 0, 0, 0);
    edit->addWidget(instruction(QStringLiteral("Immettere i dati nei campi sottostanti e premere Salva."), panCosti));
    auto* form = new QGridLayout;
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(10);
    txtData = box("txtData", kDataBoxLimit, panCosti);
    txtAttivita = box("txtAttivita", kAttivitaBoxLimit, panCosti);
    txtLuogo = box("txtLuogo", kLuogoBoxLimit, panCosti);
    txtOrario = box("txtOrario", kOrarioBoxLimit, panCosti);
    txtTotOre = box("txtTotOre", kTotOreBoxLimit, panCosti);
    installDigitOnlyFilter(txtTotOre);
    txtData->setFixedWidth(130);
    txtTotOre->setFixedWidth(70);
    txtAttivita->setMinimumWidth(480);
    txtLuogo->setMinimumWidth(320);
    txtOrario->setMinimumWidth(320);
    impOggi = new PictureBox(QStringLiteral(":/calls/art/oggi.svg"), panCosti);
    impOggi->setObjectName(QStringLiteral("impOggi"));
    impOggi->setFixedSize(26, 26);
    impOggi->setClickable(true);
    impOggi->setToolTip(QStringLiteral("Data odierna"));
    const std::pair<const char*, QLineEdit*> rows[] = {{"Data:", txtData},
                                                       {"Attività svolta:", txtAttivita},
                                                       {"Luogo:", txtLuogo},
                                                       {"Orario:", txtOrario},
                                                       {"Totale ore:", txtTotOre}};
    int row = 0;
    for (const auto& [caption, field] : rows) {
        form->addWidget(new QLabel(QString::fromUtf8(caption), panCosti), row, 0);
        auto* line = new QHBoxLayout;
        line->addWidget(field);
        if (field == txtData)
            line->addWidget(impOggi);
        line->addStretch(1);
        form->addLayout(line, row, 1);
        ++row;
    }
    edit->addLayout(form);
    edit->addStretch(1);
    auto* editButtons = new QHBoxLayout;
    btnSalva = button("btnSalva", QStringLiteral("Salva"), panCosti);
    cmdClose = button("cmdClose", QStringLiteral("Chiudi"), panCosti);
    // The edit panel has no way back to the list: say where Chiudi leads and how the list comes back.
    cmdClose->setToolTip(QStringLiteral("Chiude il registro. Per rivedere l'elenco, con le prestazioni salvate, "
                                        "riaprirlo con il pulsante Prestazioni della scheda."));
    editButtons->addStretch(1);
    editButtons->addWidget(btnSalva);
    editButtons->addWidget(cmdClose);
    edit->addLayout(editButtons);
    lblPosizione = new QLabel(panCosti);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->hide();
    lblFile = new QLabel(panCosti);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->hide();
    outer->addWidget(panCosti);
    panCosti->hide();

    new EnterRing({txtData, txtAttivita, txtLuogo, txtOrario, txtTotOre}, this);

    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnAggiungi, &QPushButton::clicked, this, &TfrmLavori_Svolti::btnAggiungiClick);
    connect(btnModifica, &QPushButton::clicked, this, &TfrmLavori_Svolti::btnModificaClick);
    connect(btnSalva, &QPushButton::clicked, this, &TfrmLavori_Svolti::btnSalvaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmLavori_Svolti::btnStampaClick);
    connect(impOggi, &PictureBox::clicked, this, &TfrmLavori_Svolti::impOggiClick);

    makeFixedWindow(this, 1240, 640); // centred on the screen
}

int TfrmLavori_Svolti::boxLimit(const QLineEdit* box) const {
    if (box == txtData)
        return kDataBoxLimit;
    if (box == txtAttivita)
        return kAttivitaBoxLimit;
    if (box == txtLuogo)
        return kLuogoBoxLimit;
    if (box == txtOrario)
        return kOrarioBoxLimit;
    return kTotOreBoxLimit;
}

QString TfrmLavori_Svolti::boxText(const QLineEdit* box) {
    return box ? trimText(box->text()) : QString();
}

void TfrmLavori_Svolti::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        load();
    }
}

void TfrmLavori_Svolti::load() {
    find_->finder->clearRemembered();
    txtTrova->clear();
    lblTotale->setText(QStringLiteral("0"));
    lblTitolo->setText(report::workRegisterTitle(boxText(agentName_)));
    const QString path = workRegisterPath(boxText(codFisc_));
    lblFile->setText(path);
    WorkRegisterList list;
    if (path.isEmpty() || !ensureAppSubfolder(kLavoriFolder))
        list.ok = false;
    else
        list = loadWorkRegister(path);
    QStringList lines;
    numbers_.clear();
    lines.reserve(list.lines.size());
    for (const WorkLine& line : list.lines) {
        lines.append(line.line);
        numbers_.append(line.number);
    }
    model_->setStringList(lines);
    lblTotale->setText(QString::number(lines.size()));
    txtTrova->setFocus(Qt::OtherFocusReason);
    // What could be read stays listed; the user is told that the register is not all there.
    if (!list.ok)
        showWarning(this, kArchiveMessage);
}

void TfrmLavori_Svolti::showEditPanel() {
    panContainer->hide();
    panCosti->show();
    txtData->setFocus(Qt::OtherFocusReason);
}

void TfrmLavori_Svolti::btnAggiungiClick() {
    for (QLineEdit* b : {txtData, txtAttivita, txtLuogo, txtOrario, txtTotOre}) {
        b->setMaxLength(boxLimit(b));
        b->clear();
    }
    lblPosizione->clear();
    showEditPanel();
}

void TfrmLavori_Svolti::btnModificaClick() {
    if (model_->rowCount() == 0) {
        showInformation(this, QStringLiteral("Modifica non applicabile: la lista non contiene nessuna voce."));
        return;
    }
    const QModelIndex current = lstRecords->currentIndex();
    if (!current.isValid() || !lstRecords->selectionModel()->isSelected(current) || current.row() >= numbers_.size()) {
        showWarning(this, QStringLiteral("Attenzione: selezionare una voce dall'elenco prima di premere il pulsante "
                                         "di modifica."));
        return;
    }
    // The line remembers its record: two works that read alike are still two records.
    const std::int64_t number = numbers_[current.row()];
    if (!readWorkRecord(trimText(lblFile->text()), number, stored_)) {
        showWarning(this, kArchiveMessage);
        reject();
        return;
    }
    showWork(workEntry(stored_));
    lblPosizione->setText(QString::number(number));
    showEditPanel();
}

void TfrmLavori_Svolti::showWork(const WorkEntry& entry) {
    // A text stored longer than its box allows (by another route) is shown whole, so that saving
    // the other fields does not cut it.
    const std::pair<QLineEdit*, const QString*> fields[] = {{txtData, &entry.data},
                                                            {txtAttivita, &entry.attivita},
                                                            {txtLuogo, &entry.luogo},
                                                            {txtOrario, &entry.orario},
                                                            {txtTotOre, &entry.totOre}};
    for (const auto& [field, text] : fields) {
        field->setMaxLength(std::max(boxLimit(field), static_cast<int>(text->size())));
        field->setText(*text);
    }
}

void TfrmLavori_Svolti::btnSalvaClick() {
    const WorkEntry typed{txtData->text(), txtAttivita->text(), txtLuogo->text(), txtOrario->text(), txtTotOre->text()};
    if (const auto refusal = workSaveRefusal(typed)) {
        if (refusal->plain)
            showPlain(this, refusal->message);
        else
            showWarning(this, refusal->message);
        if (auto* field = findChild<QLineEdit*>(refusal->focus))
            field->setFocus(Qt::OtherFocusReason);
        return;
    }
    const QString path = trimText(lblFile->text());
    const QString position = trimText(lblPosizione->text());
    const std::int64_t number = position.isEmpty() ? 0 : position.toLongLong();
    std::optional<std::int64_t> written;
    if (path.isEmpty() || !ensureAppSubfolder(kLavoriFolder) || (!position.isEmpty() && number <= 0)) {
        // nothing written: the archive message below
    } else if (number == 0) {
        written = saveWork(path, 0, typed);
    } else {
        for (;;) {
            const WorkUpdate update = updateWork(path, number, stored_, typed);
            if (update == WorkUpdate::Written)
                written = number;
            if (update != WorkUpdate::ChangedMeanwhile || !readWorkRecord(path, number, stored_))
                break;
            // Another workstation saved this work after it was opened here: overwrite it with the
            // work on screen (asked again should it change once more), or show the stored one.
            if (!confirm(this, kChangedElsewhereQuestion)) {
                showWork(workEntry(stored_));
                return;
            }
        }
    }
    if (!written) {
        showWarning(this, kArchiveMessage);
        return;
    }
    stored_ = workRecord(typed);
    lblPosizione->setText(QString::number(*written));
    showInformation(this, number > 0
                              ? QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in "
                                               "archivio.")
                              : QStringLiteral("La scheda corrente è stata inserita in archivio."));
}

void TfrmLavori_Svolti::btnStampaClick() {
    printListLines(this, report::workRegisterTitle(boxText(agentName_)), listLines(model_),
                   report::workRegisterExtraLines(lblTotale->text()));
}

void TfrmLavori_Svolti::impOggiClick() {
    txtData->setText(formatDate(clock().today()));
}

void TfrmLavori_Svolti::done(int result) {
    model_->setStringList({});
    numbers_.clear();
    QDialog::done(result);
}

void openWorkRegister(QWidget* owner, QLineEdit* agentName, QLineEdit* codFisc) {
    const QString code = codFisc ? codFisc->text() : QString();
    if (!isWorkRegisterCode(code)) {
        showWarning(owner, workRegisterCodeRefusal(code));
        if (codFisc)
            codFisc->setFocus(Qt::OtherFocusReason);
        return;
    }
    execDialog(new TfrmLavori_Svolti(owner, agentName, codFisc));
}

} // namespace ombrisa
