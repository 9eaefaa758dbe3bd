#include "ui/agents/Lavori_Svolti.h"

#include "core/cards/cardnavigator.h"

#include "core/dates/dates.h"
#include "core/records/archivepaths.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"
#include "core/work/workregister.h"
#include "report/layouts/listreport.h"
#include "ui/cards/cardparts.h"
#include "ui/cards/fieldbuilder.h"
#include "ui/common/conventions.h"
#include "ui/common/hintline.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "ui/lists/cardlinelist.h"
#include "ui/lists/courierlist.h"
#include "ui/lists/findbox.h"
#include "ui/lists/listprint.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <vector>

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

// Where each box of kWorkCardFields stands in the edit panel's one section of twelve columns: the
// date (with today's picture beside it), the activity, place and time span, the hours.
constexpr std::array<CardPlacement, kWorkCardFields.size()> kPlacements{{
    {0, 0, 0, 3}, // Data
    {0, 1, 0, 8}, // Attivita
    {0, 2, 0, 5}, // Luogo
    {0, 2, 5, 5}, // Orario
    {0, 3, 0, 2}, // TotOre
}};
constexpr int kColumns = 12;
constexpr int kRows = 4;

const QString kEditInstruction = QStringLiteral("Immettere i dati nei campi sottostanti e premere Salva.");

} // namespace

TfrmLavori_Svolti::TfrmLavori_Svolti(QWidget* owner, const QLineEdit* agentName, const QLineEdit* codFisc)
    : QDialog(owner), agentName_(agentName), codFisc_(codFisc) {
    applyScreenFormats();
    setObjectName(QStringLiteral("frmLavori_Svolti"));
    setWindowTitle(QStringLiteral(" Registro prestazioni lavorative"));
    // The list on the register's plain ground; the edit panel looks like the agent card it comes from.
    setStyleSheet(QStringLiteral("#frmLavori_Svolti { background: #eef3f8; }"
                                 "QLabel#lblTitolo, QLabel#lblScheda { color: #245a80; }") +
                  cardScreenStyle(QStringLiteral("panCosti"), QStringLiteral("#3d7fa6")));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);

    // The list panel.
    panContainer = new QFrame(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    auto* list = new QVBoxLayout(panContainer);
    list->setContentsMargins(16, 12, 16, 12);
    lblTitolo = new QLabel(panContainer);
    lblTitolo->setObjectName(QStringLiteral("lblTitolo"));
    lblTitolo->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 13, true));
    list->addWidget(lblTitolo);
    list->addWidget(instruction(QStringLiteral("Immettere una o più parole consecutive presenti nella scheda in "
                                               "elenco da cercare e premere il pulsante Trova."),
                                panContainer));
    lstRecords = new CardLineList(panContainer);
    setupWorkList(lstRecords); // every column on a 1366-pixel screen
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

    // The edit panel, built as the cards are: one framed section of captions over boxes, the commands,
    // and the band with the hint line at the foot.
    panCosti = new QFrame(this);
    panCosti->setObjectName(QStringLiteral("panCosti"));
    panCosti->setAttribute(Qt::WA_StyledBackground);
    auto* edit = new QVBoxLayout(panCosti);
    edit->setContentsMargins(10, 8, 10, 8);
    edit->setSpacing(8);
    const HintBand band = makeHintBand(panCosti, kEditInstruction);
    panInfo = band.panInfo;
    hints_ = new HintLine(panInfo);

    QFrame* section = makeSectionFrame(panCosti, 1);
    auto* sectionStack = new QVBoxLayout(section);
    sectionStack->setContentsMargins(16, 12, 16, 14);
    lblScheda = new QLabel(section);
    lblScheda->setObjectName(QStringLiteral("lblScheda"));
    lblScheda->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 13, true));
    sectionStack->addWidget(lblScheda);
    QGridLayout* grid = makeFieldGrid(kColumns, 12, 4);
    for (int r = 0; r < kRows; ++r)
        grid->setRowStretch(r * 2, 1); // spare height above the captions: each caption stays by its box
    sectionStack->addLayout(grid, 1);
    CardLayout layout{kWorkCardFields, kPlacements, kLavoroFields, {{section, grid}}, CardLook{28, 40, {}, true}, {},
                      [this](QHBoxLayout* cell, QWidget* parent, const QString& control) {
                          if (control == QLatin1String("txtData")) {
                              impOggi = makeSideButton(parent, *hints_, "impOggi", ":/calls/art/calendario.svg",
                                                       "Inserisci la data corrente.");
                              cell->addWidget(impOggi);
                          }
                      },
                      {}};
    const BuiltFields built = buildCardFields(this, hints_, layout);
    const auto box = [&built](const char* name) {
        for (QWidget* w : built.controls)
            if (w->objectName() == QLatin1String(name))
                return qobject_cast<QLineEdit*>(w);
        return static_cast<QLineEdit*>(nullptr);
    };
    txtData = box("txtData");
    txtAttivita = box("txtAttivita");
    txtLuogo = box("txtLuogo");
    txtOrario = box("txtOrario");
    txtTotOre = box("txtTotOre");
    // Four rows of boxes need less than the panel's height: the section, no taller than a card's of as many
    // rows, stands in the middle of the panel.
    section->setMaximumHeight(540);
    edit->addStretch(1);
    edit->addWidget(section, 8);
    edit->addStretch(1);

    auto* editButtons = new QHBoxLayout;
    btnSalva = button("btnSalva", QStringLiteral("Salva"), panCosti);
    cmdClose = button("cmdClose", QStringLiteral("Chiudi"), panCosti);
    hints_->setHint(btnSalva, QStringLiteral("Salva la prestazione nel registro dell'agente."));
    // The edit panel has no way back to the list: say where Chiudi leads and how the list comes back.
    hints_->setHint(cmdClose, QStringLiteral("Chiude il registro. Per rivedere l'elenco, con le prestazioni salvate, "
                                             "riaprirlo con il pulsante Prestazioni della scheda."));
    editButtons->addStretch(1);
    editButtons->addWidget(btnSalva);
    editButtons->addWidget(cmdClose);
    edit->addLayout(editButtons);
    edit->addWidget(band.band);
    hints_->clearOver(panCosti);
    hints_->clearOver(section);
    hints_->clearOver(band.band);
    lblPosizione = new QLabel(panCosti);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->hide();
    lblFile = new QLabel(panCosti);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->hide();
    outer->addWidget(panCosti);
    panCosti->hide();

    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnAggiungi, &QPushButton::clicked, this, &TfrmLavori_Svolti::btnAggiungiClick);
    connect(btnModifica, &QPushButton::clicked, this, &TfrmLavori_Svolti::btnModificaClick);
    connect(btnSalva, &QPushButton::clicked, this, &TfrmLavori_Svolti::btnSalvaClick);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmLavori_Svolti::btnStampaClick);
    connect(impOggi, &QToolButton::clicked, this, &TfrmLavori_Svolti::impOggiClick);

    // Wide enough for every column of the list, within a 1366 × 768 screen; centred on it.
    makeFixedWindow(this, 1340, 700);
}

QList<QLineEdit*> TfrmLavori_Svolti::editBoxes() const {
    return {txtData, txtAttivita, txtLuogo, txtOrario, txtTotOre};
}

int TfrmLavori_Svolti::boxLimit(const QLineEdit* box) {
    for (const CardField& f : kWorkCardFields)
        if (box->objectName() == QLatin1String(f.control))
            return f.boxLimit;
    return 0;
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
    lblScheda->setText(lblTitolo->text());
    const QString path = workRegisterPath(boxText(codFisc_));
    lblFile->setText(path);
    WorkRegisterList list;
    if (path.isEmpty() || !ensureAppSubfolder(kLavoriFolder))
        list.ok = false;
    else
        list = loadWorkRegister(path);
    lstRecords->setLines(cardLines(list.lines));
    lblTotale->setText(QString::number(list.lines.size()));
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
    for (QLineEdit* b : editBoxes()) {
        b->setMaxLength(boxLimit(b));
        b->clear();
    }
    lblPosizione->clear();
    showEditPanel();
}

void TfrmLavori_Svolti::btnModificaClick() {
    if (lstRecords->lines()->rowCount() == 0) {
        showInformation(this, QStringLiteral("Modifica non applicabile: la lista non contiene nessuna voce."));
        return;
    }
    const QModelIndex current = lstRecords->currentIndex();
    const std::int64_t number = current.isValid() && lstRecords->selectionModel()->isSelected(current)
                                    ? lstRecords->lines()->cardAt(current.row())
                                    : 0;
    if (number <= 0) {
        showWarning(this, QStringLiteral("Attenzione: selezionare una voce dall'elenco prima di premere il pulsante "
                                         "di modifica."));
        return;
    }
    // The line remembers its record: two works that read alike are still two records.
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
    printListLines(this, report::workRegisterTitle(boxText(agentName_)), listLines(lstRecords->model()),
                   report::workRegisterExtraLines(lblTotale->text()));
}

void TfrmLavori_Svolti::impOggiClick() {
    txtData->setText(formatDate(clock().today()));
}

void TfrmLavori_Svolti::done(int result) {
    lstRecords->lines()->clear();
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
