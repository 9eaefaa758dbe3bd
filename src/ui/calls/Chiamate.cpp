#include "ui/calls/Chiamate.h"

#include "core/cards/callcard.h"
#include "core/dates/dates.h"
#include "core/records/records.h"
#include "core/storage/textfield.h"
#include "ui/app/guida.h"
#include "ui/calls/RiepChiamateOggi.h"
#include "ui/calls/callcardoutput.h"
#include "ui/cards/cardbinding.h"
#include "ui/cards/cardparts.h"
#include "ui/cards/cardwidgets.h"
#include "ui/common/helptexts.h"
#include "ui/common/hintline.h"
#include "ui/common/picturebox.h"
#include "ui/common/services.h"
#include "ui/import/Importa.h"
#include "ui/export/ExpChiamate.h"
#include "ui/phone/callbuttons.h"
#include "ui/search/Trova.h"
#include "ui/stats/Statistiche.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace ombrisa {

namespace {

const QString kDesignHint = QStringLiteral("Pronto per stampare una nuova scheda...");

// The areas the call card's placements point to: the first section's first row (beside the date and
// time groups), the first section's grid, the second and third sections, the date and the time groups.
enum Area { kBesideGroups, kSection1, kSection2, kSection3, kDateGroup, kTimeGroup };
// Where each control of kCallCardFields stands: area, row, first of twelve columns (of its group's
// columns in a group), columns spanned. Hidden labels have no place.
constexpr std::array<CardPlacement, kCallCardFields.size()> kPlacements{{
    {kDateGroup, 0, 0, 1},    // GiornoRit
    {kDateGroup, 0, 1, 1},    // MeseRit
    {kDateGroup, 0, 2, 1},    // AnnoRit
    {0, 0, 0, 0},             // DataRit
    {kTimeGroup, 0, 0, 1},    // OreRit
    {kTimeGroup, 0, 2, 1},    // MinutiRit
    {0, 0, 0, 0},             // OraRit
    {kBesideGroups, 0, 0, 4}, // Tipo
    {kSection1, 1, 0, 12},    // Oggetto
    {kSection1, 2, 0, 12},    // Esito
    {kBesideGroups, 0, 4, 5}, // Grado
    {kBesideGroups, 0, 9, 3}, // Durata
    {kSection2, 0, 0, 5},     // Cliente
    {kSection2, 0, 5, 3},     // CodFisc
    {kSection2, 0, 8, 4},     // Zona
    {kSection2, 1, 0, 4},     // Recapito
    {kSection2, 1, 4, 3},     // TelCel
    {kSection2, 1, 7, 5},     // Email
    {kSection3, 0, 0, 8},     // Note
    {kSection3, 0, 8, 4},     // Operatore
}};
constexpr int kColumns = 12;
// Rows of captions and boxes in each section, and the most spare height one row takes on a tall screen.
constexpr std::array<int, 3> kSectionRows{3, 2, 1};
constexpr int kRowSpread = 16;
constexpr std::array<const char*, 3> kSectionArt{":/calls/art/sezione01.svg", ":/calls/art/sezione02.svg",
                                                 ":/calls/art/sezione03.svg"};

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// The call card's record mapping: as the shared binding, except that the combined time is computed
// from the hour and minutes at the write, never taken from its hidden label.
class CallCardBinding final : public CardBinding {
public:
    CallCardBinding(QWidget* screen, QLabel* position, QComboBox* hour, QComboBox* minutes)
        : CardBinding(screen, position, kChiamataFields), hour_(hour), minutes_(minutes) {}

    void fillRecord(void* record) override {
        CardBinding::fillRecord(record);
        static const FieldDef& oraRit =
            kChiamataFields[static_cast<std::size_t>(fieldIndex(kChiamataFields, QStringLiteral("OraRit")))];
        PutText(record, oraRit, callTimeText(hour_->currentText(), minutes_->currentText()));
    }

private:
    QComboBox* hour_;
    QComboBox* minutes_;
};

} // namespace

TfrmChiamate::TfrmChiamate(QWidget* parent) : CardScreen(parent) {
    setupCard(
        QStringLiteral("frmChiamate"), QStringLiteral(" Ombrisa - Registro Chiamate"),
        cardScreenStyle(QStringLiteral("frmChiamate"), QStringLiteral("#408ab3")) + cardBoxStyle() +
            QStringLiteral("QGroupBox { color: #1f3b57; font: bold 9pt 'Tahoma'; border: 1px solid #9ec0da;"
                           " border-radius: 6px; margin-top: 9px; padding: 4px 6px 4px 6px; background: transparent; }"
                           "QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 2px; }"
                           // The command bar runs across the top: its shading runs downwards.
                           "QFrame#panComandi { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff,"
                           " stop:1 #e6f0f7); }"));

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 8, 10, 8);
    root->setSpacing(8);

    // Bottom band first: the hint line must exist before the controls register their hints.
    const HintBand hintBand = makeBand(kDesignHint);
    QFrame* band = hintBand.band;
    hintBand.row->setContentsMargins(12, 6, 8, 6);

    QWidget* toolbar = buildToolbar();
    QWidget* sections = buildSections();
    root->addWidget(toolbar);
    root->addWidget(sections, 1);
    root->addWidget(band);

    // Moving over the screen, its panels, frames and decorations empties the hint line.
    hints().clearOver(this);
    hints().clearOver(toolbar);
    hints().clearOver(band);
    hints().clearOver(panInfo);
    clearHintsOver(hints(), sections);

    auto binding = std::make_unique<CallCardBinding>(this, lblPosizione, txtOreRit, txtMinutiRit);
    for (QComboBox* list : {txtGiornoRit, txtMeseRit, txtOreRit, txtMinutiRit})
        binding->emptyOnDuplicate(list);
    binding->onClear = [this] { return newCardDefaults(); };
    binding->onDuplicate = [this] { duplicateDefaults(); };
    binding->saveChecks = [this] { return saveChecks(); };
    finishCard(std::move(binding), callCardRules());

    connectCallCardOutput(this, cmdStampa, cmdAnteprima);
    connect(impRitiro, &QToolButton::clicked, this, &TfrmChiamate::impRitiroClick);
    connect(impOraRit, &QToolButton::clicked, this, &TfrmChiamate::impOraRitClick);
    connect(cmdTrova, &QToolButton::clicked, this, [this] { openTrovaChiamate(this, kModeChiamate); });
    connect(impCliente, &QToolButton::clicked, this, [this] { openTrovaClienti(this, kModeChiamate); });
    connect(cmdEsporta, &QToolButton::clicked, this, [this] { TfrmExpChiamate::open(this); });
    connect(cmdImporta, &QToolButton::clicked, this, [this] { openImporta(this, ImportArchive::Chiamate); });
    connect(cmdRiepOggi, &QToolButton::clicked, this, [this] { TfrmRiepChiamateOggi::open(this); });
    connect(cmdStatistiche, &QToolButton::clicked, this, [this] { openStatistiche(this); });
    addCallActions(*this, {"txtRecapito", "txtTelCel"});

    // The calendar after the year, the clock after the minutes.
    fieldTabStops.insert(fieldTabStops.indexOf(lblAnnoRit) + 1, impRitiro);
    fieldTabStops.insert(fieldTabStops.indexOf(txtMinutiRit) + 1, impOraRit);
    orderTabs({toolbar}, sections, {band});
}

QWidget* TfrmChiamate::buildToolbar() {
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("panComandi"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 4, 8, 4);
    row->setSpacing(2);

    const auto command = [this, bar, row](QToolButton** member, const char* name, const char* art, const char* caption,
                                          const QString& hint, bool wide = false) {
        QToolButton* b = makeCommandPicture(bar, QString::fromLatin1(name), QString::fromLatin1(art),
                                            QString::fromUtf8(caption), 28);
        if (wide) {
            // A wide button picture: the picture beside its words, on a framed face.
            b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
            b->setAutoRaise(false);
            b->setStyleSheet(QStringLiteral(
                "QToolButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #d6e6f2);"
                " border: 1px solid #8fb3cf; border-radius: 6px; padding: 4px 10px; font: bold 9pt 'Tahoma';"
                " color: #1f3b57; }"
                "QToolButton:hover { background: #fff6d5; }"
                "QToolButton:focus { background: #fff1cc; border: 2px solid #e08a00; }"));
        } else {
            // Narrow enough that the toolbar, Statistiche included, fits a 1366-pixel screen.
            b->setMinimumWidth(62);
        }
        hints().setHint(b, hint);
        *member = b;
        row->addWidget(b);
        return b;
    };
    const auto gap = [row] { row->addSpacing(14); };

    command(&cmdNuovo, "cmdNuovo", ":/cards/art/nuovo.svg", "Nuovo", kNavigatorHints.nuovo);
    command(&cmdDuplica, "cmdDuplica", ":/cards/art/duplica.svg", "Duplica", kNavigatorHints.duplica);
    command(&cmdSalva, "cmdSalva", ":/cards/art/salva.svg", "Salva", kNavigatorHints.salva);
    command(&cmdTrova, "cmdTrova", ":/cards/art/trova.svg", "Trova", QStringLiteral("Trova una scheda in archivio."));
    gap();
    command(&cmdAnteprima, "cmdAnteprima", ":/cards/art/anteprima.svg", "Anteprima",
            QStringLiteral("Visualizza l'anteprima di stampa della scheda corrente."));
    command(&cmdStampa, "cmdStampa", ":/cards/art/stampa.svg", "Stampa scheda",
            QStringLiteral("Stampa la scheda corrente."), true);
    row->addStretch(1);
    row->addWidget(makeNavigator(bar));
    row->addStretch(1);

    command(&cmdEsporta, "cmdEsporta", ":/cards/art/esporta.svg", "Esporta",
            QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel."));
    command(&cmdImporta, "cmdImporta", ":/cards/art/esporta.svg", "Importa",
            QStringLiteral("Importa nuove chiamate da un foglio di calcolo (CSV, Excel, LibreOffice)."));
    command(&cmdRiepOggi, "cmdRiepOggi", ":/calls/art/oggi.svg", "Chiamate di oggi",
            QStringLiteral("Visualizza il riepilogo delle chiamate di oggi."), true);
    command(&cmdStatistiche, "cmdStatistiche", ":/stats/art/grafico.svg", "Statistiche",
            QStringLiteral("Visualizza le statistiche delle chiamate in archivio con grafici e tabelle."));
    row->addStretch(1);
    command(&cmdGuida, "cmdGuida", ":/cards/art/guida.svg", "Guida",
            QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    command(&cmdEsci, "cmdEsci", ":/cards/art/esci.svg", "Esci", QStringLiteral("Esci da questa schermata di lavoro."));
    return bar;
}

QWidget* TfrmChiamate::buildSections() {
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("panSezioni"));
    auto* stack = new QVBoxLayout(area);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(10);

    std::array<QGridLayout*, 3> grids{};
    std::array<QFrame*, 3> frames{};
    for (std::size_t s = 0; s < frames.size(); ++s) {
        QFrame* frame = makeSectionFrame(area, static_cast<int>(s) + 1);
        auto* row = new QHBoxLayout(frame);
        row->setContentsMargins(10, 8, 12, 10);
        row->setSpacing(14);
        row->addWidget(makeSectionPicture(frame, static_cast<int>(s) + 1, kSectionArt[s]), 0, Qt::AlignTop);
        QGridLayout* grid = makeFieldGrid(kColumns, 14, 4);
        row->addLayout(grid, 1);
        grids[s] = grid;
        frames[s] = frame;
        // Spare height goes evenly above the rows of boxes: each section takes a share by its rows.
        stack->addWidget(frame, 10 * kSectionRows[s]);
    }
    stack->addStretch(1);

    // The date and time groups open the first section, before the direction and the other boxes.
    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    grpDataRit = new QGroupBox(QStringLiteral(" Data chiamata: "), frames[0]);
    grpDataRit->setObjectName(QStringLiteral("grpDataRit"));
    grpOraRit = new QGroupBox(QStringLiteral(" Ora chiamata: "), frames[0]);
    grpOraRit->setObjectName(QStringLiteral("grpOraRit"));
    auto* dateGrid = new QGridLayout(grpDataRit);
    auto* timeGrid = new QGridLayout(grpOraRit);
    for (QGridLayout* g : {dateGrid, timeGrid}) {
        g->setHorizontalSpacing(12);
        g->setVerticalSpacing(2);
        g->setContentsMargins(10, 12, 10, 8);
    }
    top->addWidget(grpDataRit);
    top->addWidget(grpOraRit);
    QGridLayout* rest = makeFieldGrid(kColumns, 14, 4);
    // The boxes beside the groups stand on the same line as the boxes inside them.
    auto* restColumn = new QVBoxLayout;
    restColumn->addStretch(1);
    restColumn->addLayout(rest);
    restColumn->addSpacing(13);
    top->addLayout(restColumn, 1);
    grids[0]->addLayout(top, 0, 0, 2, kColumns, Qt::AlignBottom);

    // Each row of captions and boxes takes an equal share of the spare height, above its captions.
    for (std::size_t s = 0; s < grids.size(); ++s)
        for (int r = 0; r < kSectionRows[s]; ++r)
            grids[s]->setRowStretch(r * 2, 1);

    CardLayout layout{kCallCardFields,
                      kPlacements,
                      kChiamataFields,
                      {{frames[0], rest},
                       {frames[0], grids[0]},
                       {frames[1], grids[1]},
                       {frames[2], grids[2]},
                       {grpDataRit, dateGrid, true},
                       {grpOraRit, timeGrid, true}},
                      CardLook{30, 0, QStringLiteral("Caption"), false},
                      [](const QString& control) { return callListItems(control); },
                      [this](QHBoxLayout* cell, QWidget* parent, const QString& control) {
                          if (control == QLatin1String("txtCliente"))
                              cell->addWidget(impCliente = makeSideButton(
                                                  parent, hints(), "impCliente", ":/calls/art/importa.svg",
                                                  "Importa i dati dall'archivio anagrafico dei clienti."));
                      },
                      {}};
    buildFields(layout);

    // The date and time pictures, and the separator between hour and minutes.
    dateGrid->addWidget(impRitiro = makeSideButton(grpDataRit, hints(), "impRitiro", ":/calls/art/calendario.svg",
                                                   "Inserisci la data corrente."),
                        1, 3);
    lblCampo23 = new QLabel(QStringLiteral(":"), grpOraRit);
    lblCampo23->setObjectName(QStringLiteral("lblCampo23"));
    lblCampo23->setFont(cardBoxFont());
    lblCampo23->setProperty("caption", true);
    timeGrid->addWidget(lblCampo23, 1, 1);
    timeGrid->addWidget(impOraRit = makeSideButton(grpOraRit, hints(), "impOraRit", ":/calls/art/orologio.svg",
                                                   "Inserisci l'ora corrente."),
                        1, 3);

    txtGiornoRit = qobject_cast<QComboBox*>(field(QStringLiteral("txtGiornoRit")));
    txtMeseRit = qobject_cast<QComboBox*>(field(QStringLiteral("txtMeseRit")));
    txtOreRit = qobject_cast<QComboBox*>(field(QStringLiteral("txtOreRit")));
    txtMinutiRit = qobject_cast<QComboBox*>(field(QStringLiteral("txtMinutiRit")));
    txtTipo = qobject_cast<QComboBox*>(field(QStringLiteral("txtTipo")));
    lblAnnoRit = qobject_cast<QLineEdit*>(field(QStringLiteral("lblAnnoRit")));
    lblDataRit = qobject_cast<QLabel*>(field(QStringLiteral("lblDataRit")));
    lblOraRit = qobject_cast<QLabel*>(field(QStringLiteral("lblOraRit")));
    txtOggetto = qobject_cast<QLineEdit*>(field(QStringLiteral("txtOggetto")));
    txtCliente = qobject_cast<QLineEdit*>(field(QStringLiteral("txtCliente")));
    txtCodFisc = qobject_cast<QLineEdit*>(field(QStringLiteral("txtCodFisc")));
    txtEmail = qobject_cast<QLineEdit*>(field(QStringLiteral("txtEmail")));

    txtGiornoRit->setMinimumWidth(80);
    txtMeseRit->setMinimumWidth(150);
    lblAnnoRit->setFixedWidth(80);
    txtOreRit->setMinimumWidth(80);
    txtMinutiRit->setMinimumWidth(80);
    txtTipo->setMinimumWidth(150);
    // Room for the longest usual answer, whole.
    field(QStringLiteral("txtGrado"))
        ->setMinimumWidth(QFontMetrics(cardBoxFont()).horizontalAdvance(QStringLiteral("Abbastanza soddisfatto")) + 24);

    for (QGroupBox* g : {grpDataRit, grpOraRit})
        g->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    for (std::size_t s = 0; s < frames.size(); ++s)
        frames[s]->setMaximumHeight(frames[s]->sizeHint().height() + kRowSpread * kSectionRows[s]);
    return area;
}

bool TfrmChiamate::newCardDefaults() {
    const QDateTime now = clock().now();
    clearListSelections();
    setControlText(txtGiornoRit, twoDigits(now.date().day()));
    setControlText(txtMeseRit, kMonthNames[static_cast<std::size_t>(now.date().month() - 1)]);
    setControlText(txtOreRit, twoDigits(now.time().hour()));
    setControlText(txtMinutiRit, twoDigits(now.time().minute()));
    setControlText(txtTipo, kTipoEntrata);
    lblAnnoRit->setText(QStringLiteral("%1").arg(now.date().year(), 4, 10, QLatin1Char('0')));
    return true;
}

void TfrmChiamate::duplicateDefaults() {
    lblAnnoRit->setText(QStringLiteral("%1").arg(clock().today().year(), 4, 10, QLatin1Char('0')));
}

void TfrmChiamate::impRitiroClick() {
    const QDate today = clock().today();
    lblAnnoRit->setText(QStringLiteral("%1").arg(today.year(), 4, 10, QLatin1Char('0')));
    setControlText(txtGiornoRit, twoDigits(today.day()));
    setControlText(txtMeseRit, kMonthNames[static_cast<std::size_t>(today.month() - 1)]);
}

void TfrmChiamate::impOraRitClick() {
    const QTime now = clock().time();
    setControlText(txtOreRit, twoDigits(now.hour()));
    setControlText(txtMinutiRit, twoDigits(now.minute()));
}

// The four date and time lists lose their selection; their texts stay.
void TfrmChiamate::clearListSelections() {
    for (QComboBox* list : {txtGiornoRit, txtMeseRit, txtOreRit, txtMinutiRit}) {
        const QString text = list->currentText();
        list->setCurrentIndex(-1);
        list->setEditText(text);
    }
}

bool TfrmChiamate::saveChecks() {
    clearListSelections();
    const CallSaveVerdict verdict = checkCallCard([this](const QString& c) { return binding().controlText(c); });
    if (!verdict.combinedDate.isEmpty())
        lblDataRit->setText(verdict.combinedDate);
    if (verdict.passed())
        return true;
    if (verdict.plain)
        showPlain(this, verdict.message);
    else
        showWarning(this, verdict.message);
    binding().focusControl(verdict.control);
    return false;
}

void TfrmChiamate::showHelp() {
    ombrisa::showHelp(this, kHelpChiamateTitle, helpChiamate());
}

} // namespace ombrisa
