#include "ui/search/Trova.h"

#include "core/cards/callcard.h" // kClientToCall
#include "core/cards/cardnavigator.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/appfolder.h"
#include "report/layouts/listreport.h"
#include "ui/cards/cardbinding.h"
#include "ui/cards/cardscreen.h"
#include "ui/common/accessibility.h"
#include "ui/common/conventions.h"
#include "ui/common/dialoglook.h"
#include "ui/common/focuslook.h"
#include "ui/common/keyfilters.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "ui/lists/cardlinelist.h"
#include "ui/lists/findbox.h"
#include "ui/lists/listprint.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ombrisa {

namespace {

const TrovaScreen kTrovaClienti{
    SearchArchive::Clienti, "frmTrovaClienti", " Trova clienti in archivio", &report::kTitleClienti, false,
    {"clienti", "chiamate"}};
const TrovaScreen kTrovaChiamate{
    SearchArchive::Chiamate, "frmTrovaChiamate", " Trova schede in registro chiamate", &report::kTitleChiamate, false,
    {"chiamate", ""}};
const TrovaScreen kTrovaDipendenti{SearchArchive::Dipendenti,
                                   "frmTrovaDipendenti",
                                   " Trova agenti in archivio",
                                   &report::kTitleDipendenti,
                                   true,
                                   {"dipendenti", "riepstraordinari"}};

QPushButton* button(const char* name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false); // Enter in a box never presses a button of its own accord
    makeClickable(b);
    return b;
}

const FieldDef& field(FieldTable fields, const char* name) {
    return fields[static_cast<std::size_t>(fieldIndex(fields, QString::fromLatin1(name)))];
}

void open(TfrmTrova* screen, const QString& mode) {
    screen->lblMemory->setText(mode);
    execDialog(screen);
}

} // namespace

TfrmTrova::TfrmTrova(const TrovaScreen& screen, QWidget* parent)
    : QDialog(parent), screen_(screen), rules_(searchRules(screen.archive)) {
    applyScreenFormats();
    setObjectName(QString::fromLatin1(screen.name));
    setWindowTitle(QString::fromUtf8(screen.caption));

    // Filter panel.
    panAvvio = new QWidget(this);
    panAvvio->setObjectName(QStringLiteral("panAvvio"));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(20); // room for the highlight rectangles around the boxes
    grid->setColumnMinimumWidth(0, 300);
    grid->setColumnMinimumWidth(1, 560);
    int row = 0;
    QList<QWidget*> order;
    for (const SearchFilter& f : rules_.filters) {
        auto* caption = new QLabel(QString::fromUtf8(f.caption), panAvvio);
        auto* box = new QLineEdit(panAvvio);
        box->setObjectName(QString::fromLatin1(f.box));
        caption->setBuddy(box);
        grid->addWidget(caption, row, 0);
        grid->addWidget(box, row, 1);
        QWidget* rect = addFocusRect(box);
        if (screen.numberedRects)
            rect->setObjectName(QStringLiteral("effCampo%1").arg(row + 1, 2, 10, QLatin1Char('0')));
        boxes_.append(box);
        order.append(box);
        ++row;
    }
    new EnterRing(order, this);
    btnCerca = button("btnCerca", QStringLiteral("Cerca"), panAvvio);
    btnCerca->setProperty("primary", true);
    btnAnnulla = button("btnAnnulla", QStringLiteral("Chiudi"), panAvvio);
    lblAttendere = new QLabel(QStringLiteral("Ricerca schede in corso. Attendere..."), panAvvio);
    lblAttendere->setObjectName(QStringLiteral("lblAttendere"));
    lblAttendere->setStyleSheet(QStringLiteral("color: crimson; font-weight: bold;"));
    lblAttendere->hide();
    auto* commands = new QHBoxLayout;
    commands->addWidget(lblAttendere);
    commands->addStretch();
    commands->addWidget(btnCerca);
    commands->addWidget(btnAnnulla);
    // The screen's title and what to do, over the filters, as on the program's other dialogs.
    auto* heading = new QLabel(QString::fromUtf8(screen.caption).trimmed(), panAvvio);
    heading->setObjectName(QStringLiteral("lblTitolo"));
    heading->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 14, true));
    heading->setStyleSheet(QStringLiteral("color: #245a80;"));
    auto* instruction =
        new QLabel(QStringLiteral("Scrivere il testo da cercare in uno o più campi e premere Cerca: sono elencate le "
                                  "schede che contengono tutti i testi indicati."),
                   panAvvio);
    instruction->setWordWrap(true);
    auto* filters = new QVBoxLayout(panAvvio);
    filters->setContentsMargins(0, 0, 0, 0);
    filters->setSpacing(6);
    auto* centred = new QHBoxLayout;
    centred->addStretch();
    centred->addLayout(grid);
    centred->addStretch();
    filters->addWidget(heading);
    filters->addWidget(instruction);
    filters->addSpacing(14);
    filters->addLayout(centred);
    filters->addStretch();
    filters->addLayout(commands);

    // Result panel.
    panContainer = new QWidget(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    lstRecords = new CardLineList(panContainer);
    lblTrovate = new QLabel(QStringLiteral("Il presente riepilogo contiene 0 schede"), panContainer);
    lblTrovate->setObjectName(QStringLiteral("lblTrovate"));
    markAsStatus(lblTrovate);
    auto* hint =
        new QLabel(QStringLiteral("Fare doppio clic sulla voce in elenco per richiamare la scheda"), panContainer);
    hint->setStyleSheet(QStringLiteral("color: crimson;"));
    findBox = new FindBox(lstRecords, panContainer);
    findBox->txtTrova->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 12, true));
    findBox->btnTrova->setAutoDefault(false);
    btnStampa = button("btnStampa", QStringLiteral("Stampa"), panContainer);
    btnChiudi = button("btnChiudi", QStringLiteral("Chiudi"), panContainer);
    auto* counts = new QHBoxLayout;
    counts->addWidget(lblTrovate);
    counts->addStretch();
    counts->addWidget(hint);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(findBox, 1);
    bottom->addSpacing(40);
    bottom->addWidget(btnStampa);
    bottom->addWidget(btnChiudi);
    auto* results = new QVBoxLayout(panContainer);
    results->setContentsMargins(0, 0, 0, 0);
    results->addWidget(lstRecords, 1);
    results->addLayout(counts);
    results->addLayout(bottom);
    panContainer->hide();

    lblMemory = new QLabel(QStringLiteral("lblMemory"), this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addWidget(panAvvio);
    layout->addWidget(panContainer);

    connect(btnCerca, &QPushButton::pressed, this, [this] {
        lblAttendere->show();
        lblAttendere->repaint();
    });
    connect(btnCerca, &QPushButton::clicked, this, &TfrmTrova::btnCercaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnStampa, &QPushButton::clicked, this, &TfrmTrova::btnStampaClick);
    connect(lstRecords, &CardLineList::cardDoubleClicked, this, &TfrmTrova::lstRecordsDblClick);
    applyDialogLook(this);
    makeFixedWindow(this, 1060, 640, parent ? parent->window() : nullptr);
}

void TfrmTrova::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    findBox->finder->clearRemembered();
    findBox->txtTrova->clear();
    if (panAvvio->isVisible())
        boxes_.first()->setFocus(Qt::OtherFocusReason);
}

void TfrmTrova::done(int result) {
    lstRecords->lines()->clear();
    lblAttendere->hide();
    QDialog::done(result);
}

void TfrmTrova::btnCercaClick() {
    lblAttendere->show();
    QStringList texts;
    for (const QLineEdit* box : boxes_)
        texts << box->text();
    CardListing listing = searchArchive(rules_, appPath(QLatin1String(rules_.archive->fileName)), texts);
    if (!listing.ok) {
        // The filters stay as typed, so the user can try again.
        lstRecords->lines()->clear();
        showPlain(this, kArchiveMessage);
        return;
    }
    const std::size_t count = listing.lines.size();
    lstRecords->setLines(std::move(listing.lines));
    announce(lblTrovate, countLine(count, rules_.countFullStop));
    panAvvio->hide();
    panContainer->show();
    findBox->txtTrova->clear();
    findBox->txtTrova->setFocus(Qt::OtherFocusReason);
}

void TfrmTrova::btnStampaClick() {
    printListLines(this, *screen_.printTitle, listLines(lstRecords->model()));
}

void TfrmTrova::lstRecordsDblClick(std::int64_t card) {
    if (card > 0)
        handBack(card);
    accept();
}

void TfrmTrova::handBack(std::int64_t card) {
    const QString mode = trimText(lblMemory->text());
    bool served = false;
    for (const char* word : screen_.modes)
        served = served || (*word && mode == QLatin1String(word));
    if (!served)
        return;
    if (mode == kModeRiepStraordinari) {
        TRecDipendente rec;
        if (pickedCodFisc_ && readCard(appPath(kDipendentiFile), sizeof rec, card, &rec))
            pickedCodFisc_(GetText(rec.CodFisc)); // as stored: not turned to upper case
        return;
    }
    // Every other mode serves a card screen: the caller, when it is a card over the archive the mode
    // names, so that a card number never reaches a card of another archive.
    auto* target = qobject_cast<CardScreen*>(parentWidget());
    if (screen_.archive == SearchArchive::Clienti && mode == kModeChiamate) {
        // Six client fields into the call card; nothing else of it changes.
        TRecCliente rec;
        if (!target || target->navigator().rules().archiveFile != kChiamateFile ||
            !readCard(appPath(kClientiFile), sizeof rec, card, &rec))
            return;
        for (const auto& [fieldName, control] : kClientToCall)
            if (QWidget* w = target->field(QString::fromLatin1(control)))
                setControlText(w, GetText(&rec, field(kClienteFields, fieldName)));
        return;
    }
    if (target && target->navigator().rules().archiveFile == QLatin1String(rules_.archive->fileName))
        target->navigator().showCard(card);
}

TfrmTrovaClienti::TfrmTrovaClienti(QWidget* parent) : TfrmTrova(kTrovaClienti, parent) {}
TfrmTrovaChiamate::TfrmTrovaChiamate(QWidget* parent) : TfrmTrova(kTrovaChiamate, parent) {}
TfrmTrovaDipendenti::TfrmTrovaDipendenti(QWidget* parent) : TfrmTrova(kTrovaDipendenti, parent) {}

void openTrovaClienti(QWidget* caller, const QString& mode) {
    open(new TfrmTrovaClienti(caller), mode);
}
void openTrovaChiamate(QWidget* caller, const QString& mode) {
    open(new TfrmTrovaChiamate(caller), mode);
}
void openTrovaDipendenti(QWidget* caller, const QString& mode) {
    open(new TfrmTrovaDipendenti(caller), mode);
}
void openAgentSearchForInterval(QWidget* caller, std::function<void(const QString&)> picked) {
    auto* screen = new TfrmTrovaDipendenti(caller);
    screen->setPickedCodFisc(std::move(picked));
    open(screen, kModeRiepStraordinari);
}

} // namespace ombrisa
