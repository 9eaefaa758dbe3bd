#include "ui/calls/Chiamate.h"

#include "ui/search/Trova.h"
#include "ui/app/guida.h"
#include "ui/calls/callcardoutput.h"
#include "ui/calls/RiepChiamateOggi.h"
#include "ui/export/ExpChiamate.h"
#include "core/cards/callcard.h"
#include "ui/cards/cardbinding.h"
#include "core/cards/cardnavigator.h"
#include "ui/cards/cardscreen.h"
#include "ui/cards/cardwidgets.h"
#include "ui/common/conventions.h"
#include "ui/common/focuslook.h"
#include "ui/common/helptexts.h"
#include "ui/common/hintline.h"
#include "ui/common/keyfilters.h"
#include "ui/common/openurl.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "core/dates/dates.h"
#include "core/records/records.h"
#include "core/storage/textfield.h"
#include "ui/validators/codfiscdialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace ombrisa {

TfrmChiamate* frmChiamate = nullptr;

namespace {

const QString kDesignHint = QStringLiteral("Pronto per stampare una nuova scheda...");

// Where each control of kCallCardFields stands: in the date or time group (at a column of its own
// grid), in one of the three sections (row, first of twelve columns, columns spanned), or nowhere
// (the hidden labels).
enum class Place { DateGroup, TimeGroup, Section, Hidden };
struct Placement {
    Place place;
    int section;
    int row;
    int column;
    int span;
};
constexpr std::array<Placement, kCallCardFields.size()> kPlacements{{
    {Place::DateGroup, 0, 0, 0, 1}, // GiornoRit
    {Place::DateGroup, 0, 0, 1, 1}, // MeseRit
    {Place::DateGroup, 0, 0, 2, 1}, // AnnoRit
    {Place::Hidden, 0, 0, 0, 0},    // DataRit
    {Place::TimeGroup, 0, 0, 0, 1}, // OreRit
    {Place::TimeGroup, 0, 0, 2, 1}, // MinutiRit
    {Place::Hidden, 0, 0, 0, 0},    // OraRit
    {Place::Section, 0, 0, 0, 4},   // Tipo
    {Place::Section, 0, 1, 0, 12},  // Oggetto
    {Place::Section, 0, 2, 0, 12},  // Esito
    {Place::Section, 0, 0, 4, 5},   // Grado
    {Place::Section, 0, 0, 9, 3},   // Durata
    {Place::Section, 1, 0, 0, 5},   // Cliente
    {Place::Section, 1, 0, 5, 3},   // CodFisc
    {Place::Section, 1, 0, 8, 4},   // Zona
    {Place::Section, 1, 1, 0, 4},   // Recapito
    {Place::Section, 1, 1, 4, 3},   // TelCel
    {Place::Section, 1, 1, 7, 5},   // Email
    {Place::Section, 2, 0, 0, 8},   // Note
    {Place::Section, 2, 0, 8, 4},   // Operatore
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

// A focus change that leaves or enters a control within the screen, rather than the window losing or
// regaining activation or a drop-down list opening and closing.
bool movesBetweenControls(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
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

TfrmChiamate::TfrmChiamate(QWidget* parent) : QWidget(parent, Qt::Window) {
    applyScreenFormats();
    setObjectName(QStringLiteral("frmChiamate"));
    setWindowTitle(QStringLiteral(" Ombrisa - Registro Chiamate"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        cardScreenStyle(objectName(), QStringLiteral("#408ab3")) + cardBoxStyle() +
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
    const HintBand hintBand = makeHintBand(this, kDesignHint);
    QFrame* band = hintBand.band;
    panInfo = hintBand.panInfo;
    hintBand.row->setContentsMargins(12, 6, 8, 6);
    hintLine_ = std::make_unique<HintLine>(panInfo);

    QWidget* toolbar = buildToolbar();
    QWidget* sections = buildFields();
    root->addWidget(toolbar);
    root->addWidget(sections, 1);
    root->addWidget(band);

    // Moving over the screen, its panels, frames and decorations empties the hint line.
    hintLine_->clearOver(this);
    hintLine_->clearOver(toolbar);
    hintLine_->clearOver(band);
    hintLine_->clearOver(panInfo);
    clearHintsOver(*hintLine_, sections);

    // The record mapping, from the same table that built the controls.
    auto binding = std::make_unique<CallCardBinding>(this, lblPosizione, txtOreRit, txtMinutiRit);
    for (std::size_t i = 0; i < kCallCardFields.size(); ++i)
        binding->bindText(fields_[i], kCallCardFields[i].field);
    for (QComboBox* list : {txtGiornoRit, txtMeseRit, txtOreRit, txtMinutiRit})
        binding->emptyOnDuplicate(list);
    binding->onClear = [this] { return newCardDefaults(); };
    binding->onDuplicate = [this] { duplicateDefaults(); };
    binding->saveChecks = [this] { return saveChecks(); };
    binding_ = std::move(binding);
    navigator_ = std::make_unique<CardNavigator>(callCardRules(), *binding_);
    navigatorBar_->connectTo(*navigator_);

    connect(cmdNuovo, &QToolButton::clicked, this, [this] { navigator_->newCard(); });
    connect(cmdSalva, &QToolButton::clicked, this, [this] { navigator_->save(); });
    connect(cmdDuplica, &QToolButton::clicked, this, [this] { navigator_->duplicate(); });
    connect(cmdGuida, &QToolButton::clicked, this, &TfrmChiamate::cmdGuidaClick);
    connect(cmdEsci, &QToolButton::clicked, this, &TfrmChiamate::cmdEsciClick);
    connectCallCardOutput(this, cmdStampa, cmdAnteprima);
    connect(impRitiro, &QToolButton::clicked, this, &TfrmChiamate::impRitiroClick);
    connect(impOraRit, &QToolButton::clicked, this, &TfrmChiamate::impOraRitClick);
    connect(btnCodFisc, &QToolButton::clicked, this, &TfrmChiamate::btnCodFiscClick);
    connect(btnEmail, &QToolButton::clicked, this, &TfrmChiamate::btnEmailClick);
    connect(cmdTrova, &QToolButton::clicked, this, [this] { openTrovaChiamate(this, kModeChiamate); });
    connect(impCliente, &QToolButton::clicked, this, [this] { openTrovaClienti(this, kModeChiamate); });
    connect(cmdEsporta, &QToolButton::clicked, this, [this] { TfrmExpChiamate::open(this); });
    connect(cmdRiepOggi, &QToolButton::clicked, this, [this] { TfrmRiepChiamateOggi::open(this); });

    maximiseWindow(this);
}

TfrmChiamate::~TfrmChiamate() {
    if (frmChiamate == this)
        frmChiamate = nullptr;
}

QWidget* TfrmChiamate::field(const QString& name) const {
    for (QWidget* w : fields_)
        if (w && w->objectName() == name)
            return w;
    return nullptr;
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
                "QToolButton:hover { background: #fff6d5; }"));
        } else {
            b->setMinimumWidth(70);
        }
        hintLine_->setHint(b, hint);
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

    navigatorBar_ = new NavigatorBar(bar, *hintLine_);
    cmdPrimo = navigatorBar_->cmdPrimo;
    cmdIndietro = navigatorBar_->cmdIndietro;
    cmdAvanti = navigatorBar_->cmdAvanti;
    cmdUltimo = navigatorBar_->cmdUltimo;
    lblPosizione = navigatorBar_->lblPosizione;
    row->addWidget(navigatorBar_);
    row->addStretch(1);

    command(&cmdEsporta, "cmdEsporta", ":/cards/art/esporta.svg", "Esporta",
            QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel."));
    command(&cmdRiepOggi, "cmdRiepOggi", ":/calls/art/oggi.svg", "Chiamate di oggi",
            QStringLiteral("Visualizza il riepilogo delle chiamate di oggi."), true);
    row->addStretch(1);
    command(&cmdGuida, "cmdGuida", ":/cards/art/guida.svg", "Guida",
            QStringLiteral("Visualizza la pagina della guida sensibile al contesto."));
    command(&cmdEsci, "cmdEsci", ":/cards/art/esci.svg", "Esci", QStringLiteral("Esci da questa schermata di lavoro."));
    return bar;
}

QWidget* TfrmChiamate::buildFields() {
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

    const auto sideButton = [this](QWidget* parent, QToolButton** member, const char* name, const char* art,
                                   const char* hint) {
        return *member = makeSideButton(parent, *hintLine_, name, art, hint);
    };

    // Each row of captions and boxes takes an equal share of the spare height, above its captions.
    for (std::size_t s = 0; s < grids.size(); ++s)
        for (int r = 0; r < kSectionRows[s]; ++r)
            grids[s]->setRowStretch(r * 2, 1);

    QList<QWidget*> ring;
    for (std::size_t i = 0; i < kCallCardFields.size(); ++i) {
        const CallCardField& f = kCallCardFields[i];
        const Placement p = kPlacements[i];
        const QString name = QString::fromLatin1(f.control);
        QWidget* parent = p.place == Place::DateGroup   ? static_cast<QWidget*>(grpDataRit)
                          : p.place == Place::TimeGroup ? static_cast<QWidget*>(grpOraRit)
                          : p.place == Place::Section
                              ? static_cast<QWidget*>(frames[static_cast<std::size_t>(p.section)])
                              : static_cast<QWidget*>(this);
        const FieldDef& def =
            kChiamataFields[static_cast<std::size_t>(fieldIndex(kChiamataFields, QString::fromLatin1(f.field)))];

        if (f.kind == CallFieldKind::Hidden) {
            auto* label = new QLabel(parent);
            label->setObjectName(name);
            label->hide();
            fields_[i] = label;
            continue;
        }

        QWidget* box = nullptr;
        QLineEdit* edit = nullptr;
        if (f.kind == CallFieldKind::List) {
            auto* combo = new QComboBox(parent);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
            combo->addItems(callListItems(name));
            combo->setCurrentIndex(-1);
            combo->setMaxVisibleItems(16);
            edit = combo->lineEdit();
            // Nothing reaches the box but through its list: no pasting from a menu, no dropping.
            edit->setContextMenuPolicy(Qt::NoContextMenu);
            edit->setAcceptDrops(false);
            combo->installEventFilter(this);
            edit->installEventFilter(this);
            lists_.append(combo);
            box = combo;
        } else {
            edit = new QLineEdit(parent);
            box = edit;
        }
        box->setObjectName(name);
        box->setFont(cardBoxFont());
        edit->setFont(cardBoxFont());
        box->setMinimumHeight(30);
        if (f.limited)
            edit->setMaxLength(static_cast<int>(def.capacity));

        switch (f.kind) {
        case CallFieldKind::Digits:
            installDigitOnlyFilter(box);
            break;
        case CallFieldKind::TrimUpper:
            installTypingFilter(edit, TypingFilter::TrimUpper);
            break;
        case CallFieldKind::Trim:
            installTypingFilter(edit, TypingFilter::Trim);
            edit->installEventFilter(this); // trimmed again when left
            break;
        default:
            break;
        }

        QLabel* caption = makeCaption(parent, QStringLiteral("lbl") + name.mid(3) + QStringLiteral("Caption"),
                                      QString::fromUtf8(f.caption), box);

        if (p.place == Place::DateGroup || p.place == Place::TimeGroup) {
            QGridLayout* g = p.place == Place::DateGroup ? dateGrid : timeGrid;
            g->addWidget(caption, 0, p.column, Qt::AlignLeft | Qt::AlignBottom);
            g->addWidget(box, 1, p.column);
        } else {
            QGridLayout* g = p.section == 0 && p.row == 0 ? rest : grids[static_cast<std::size_t>(p.section)];
            // The first section's first row stands beside the date and time groups, in their row.
            const int r = g == rest ? 0 : p.row * 2;
            QHBoxLayout* cell = placeUnderCaption(g, caption, box, r, p.column, p.span);
            if (name == QLatin1String("txtCliente"))
                cell->addWidget(sideButton(parent, &impCliente, "impCliente", ":/calls/art/importa.svg",
                                           "Importa i dati dall'archivio anagrafico dei clienti."));
            else
                addCheckButton(cell, parent, *hintLine_, name);
        }

        QWidget* rect = addFocusRect(box);
        rect->setObjectName(QStringLiteral("eff") + name.mid(3));
        fields_[i] = box;
        ring.append(box);
    }

    // The date and time pictures, and the separator between hour and minutes.
    dateGrid->addWidget(
        sideButton(grpDataRit, &impRitiro, "impRitiro", ":/calls/art/calendario.svg", "Inserisci la data corrente."), 1,
        3);
    lblCampo23 = new QLabel(QStringLiteral(":"), grpOraRit);
    lblCampo23->setObjectName(QStringLiteral("lblCampo23"));
    lblCampo23->setFont(cardBoxFont());
    lblCampo23->setProperty("caption", true);
    timeGrid->addWidget(lblCampo23, 1, 1);
    timeGrid->addWidget(
        sideButton(grpOraRit, &impOraRit, "impOraRit", ":/calls/art/orologio.svg", "Inserisci l'ora corrente."), 1, 3);

    btnCodFisc = findChild<QToolButton*>(QStringLiteral("btnCodFisc"));
    btnEmail = findChild<QToolButton*>(QStringLiteral("btnEmail"));
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

    new EnterRing(ring, this);
    for (qsizetype i = 1; i < ring.size(); ++i)
        QWidget::setTabOrder(ring[i - 1], ring[i]);
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
    const CallSaveVerdict verdict = checkCallCard([this](const QString& c) { return binding_->controlText(c); });
    if (!verdict.combinedDate.isEmpty())
        lblDataRit->setText(verdict.combinedDate);
    if (verdict.passed())
        return true;
    if (verdict.plain)
        showPlain(this, verdict.message);
    else
        showWarning(this, verdict.message);
    binding_->focusControl(verdict.control);
    return false;
}

QComboBox* TfrmChiamate::listOf(QObject* watched) const {
    for (QComboBox* list : lists_)
        if (watched == list || watched == list->lineEdit())
            return list;
    return nullptr;
}

bool TfrmChiamate::eventFilter(QObject* watched, QEvent* event) {
    if (QComboBox* list = listOf(watched)) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            // Only the list gives the box its value: Enter moves on (the Enter ring), Tab moves the focus,
            // Left and Right move the cursor, Backspace and Delete empty the box; nothing else is typed.
            switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Left:
            case Qt::Key_Right:
                return false;
            case Qt::Key_Backspace:
            case Qt::Key_Delete:
                clearControl(list);
                return true;
            default:
                return true;
            }
        }
        case QEvent::FocusIn:
            // About to take the focus: the list loses its selection, the text stays.
            if (movesBetweenControls(event) && list->currentIndex() != -1) {
                const QString text = list->currentText();
                list->setCurrentIndex(-1);
                list->setEditText(text);
            }
            break;
        case QEvent::FocusOut:
            // Left with a text that is not one of its items, exactly: the box is emptied.
            if (movesBetweenControls(event) &&
                !callListItems(list->objectName()).contains(trimText(list->currentText())))
                clearControl(list);
            break;
        default:
            break;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (watched == txtEmail && event->type() == QEvent::FocusOut) {
        const QString trimmed = trimText(txtEmail->text());
        if (trimmed != txtEmail->text())
            txtEmail->setText(trimmed);
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmChiamate::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Shown from the start menu: always a new card with the current date and time. A window coming back
    // from the task bar keeps its card.
    if (!event->spontaneous())
        navigator_->newCard();
}

void TfrmChiamate::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

void TfrmChiamate::cmdEsciClick() {
    close();
}

void TfrmChiamate::cmdGuidaClick() {
    showHelp(this, kHelpChiamateTitle, helpChiamate());
}

void TfrmChiamate::btnCodFiscClick() {
    openCodFiscCheck(this, trimText(txtCodFisc->text()));
}

void TfrmChiamate::btnEmailClick() {
    TMisc::Open(QStringLiteral("\"mailto:") + trimText(txtEmail->text()) + QLatin1Char('"'));
}

} // namespace ombrisa
