#include "ui/clients/Clienti.h"

#include "ui/clients/Ricontatta.h"
#include "ui/search/Trova.h"
#include "ui/app/guida.h"
#include "ui/attachments/AllegaCartella.h"
#include "ui/calls/StoricoChiamate.h"
#include "ui/export/ExpClienti.h"
#include "ui/cards/cardbinding.h"
#include "core/cards/cardnavigator.h"
#include "ui/cards/cardscreen.h"
#include "ui/cards/cardwidgets.h"
#include "core/cards/clientcard.h"
#include "ui/clients/clientcardreport.h"
#include "ui/common/conventions.h"
#include "ui/common/focuslook.h"
#include "ui/common/helptexts.h"
#include "ui/common/hintline.h"
#include "ui/common/keyfilters.h"
#include "ui/common/openurl.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "core/italy/provinces.h"
#include "core/records/records.h"
#include "core/storage/textfield.h"
#include "ui/validators/cartadialog.h"
#include "ui/validators/codfiscdialog.h"
#include "ui/validators/ibandialog.h"
#include "ui/validators/partitaivadialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>

#include <QVBoxLayout>
#include <algorithm>

namespace ombrisa {

TfrmClienti* frmClienti = nullptr;

namespace {

// Where each box of kClientCardFields stands in its section: the row and how many of the section's
// twelve columns it spans. Same order as the field table.
struct Placement {
    int row;
    int span;
};
constexpr std::array<Placement, kClientCardFields.size()> kPlacements{{
    {0, 4},  {0, 2}, {0, 4}, {0, 1}, {0, 1}, // Cliente, DataNasc, ComuneNasc, ProvNasc, Sesso
    {1, 3},  {1, 4}, {1, 1}, {1, 3}, {1, 1}, // Recapito, IndirizzoRes, ProvRes, ComuneRes, CapRes
    {2, 12},                                 // Estremi
    {0, 2},  {0, 2}, {0, 2}, {0, 3}, {0, 3}, // TelCasa, TelUff, TelCel, Fax, Email
    {0, 3},  {0, 3}, {0, 2}, {0, 3},         // CodFisc, Carta, ScadeCarta, PartitaIva
    {1, 5},                                  // Iban
    {0, 5},  {0, 4}, {0, 3},                 // Documento, Occupazione, Civile
    {1, 4},  {1, 5}, {1, 3},                 // Titoli, Prodotti, Zona
    {0, 5},  {0, 5},                         // Questioni, Note
}};
constexpr int kColumns = 12;

// The pictures at the left of the five sections.
constexpr std::array<const char*, 5> kSectionArt{":/clients/art/sezione01.svg", ":/clients/art/sezione02.svg",
                                                 ":/clients/art/sezione03.svg", ":/clients/art/sezione04.svg",
                                                 ":/clients/art/sezione05.svg"};

const QString kDesignHint = QStringLiteral("Pronto per archiviare una nuova scheda...");

TypingFilter typingFilterOf(ClientFieldFilter f) {
    switch (f) {
    case ClientFieldFilter::TrimUpper:
    case ClientFieldFilter::TrimUpperOnLeave:
        return TypingFilter::TrimUpper;
    case ClientFieldFilter::Upper:
    case ClientFieldFilter::UpperOnKeyRelease:
        return TypingFilter::Upper;
    default:
        return TypingFilter::Trim;
    }
}

bool filtersOnLeave(ClientFieldFilter f) {
    return f == ClientFieldFilter::TrimUpperOnLeave || f == ClientFieldFilter::TrimOnLeave;
}

} // namespace

TfrmClienti::TfrmClienti(QWidget* parent) : QWidget(parent, Qt::Window) {
    applyScreenFormats();
    setObjectName(QStringLiteral("frmClienti"));
    setWindowTitle(QStringLiteral(" Ombrisa - Archivio Clienti"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(cardScreenStyle(objectName(), QStringLiteral("#408ab3")) + cardBoxStyle() +
                  QStringLiteral(
                      "QCheckBox { color: #1f3b57; background: transparent; spacing: 8px; }"
                      "QCheckBox::indicator { width: 18px; height: 18px; border: 1px solid #4f7fa3; border-radius: 3px;"
                      " background: white; }"
                      "QCheckBox::indicator:checked { image: url(:/cards/art/spunta.svg); }"));

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 8, 10, 8);
    root->setSpacing(8);

    auto* body = new QHBoxLayout;
    body->setSpacing(10);
    root->addLayout(body, 1);

    // Bottom band first: the hint line must exist before the controls register their hints.
    const HintBand hintBand = makeHintBand(this, kDesignHint);
    QFrame* band = hintBand.band;
    panInfo = hintBand.panInfo;
    hintLine_ = std::make_unique<HintLine>(panInfo);
    navigatorBar_ = new NavigatorBar(band, *hintLine_);
    cmdPrimo = navigatorBar_->cmdPrimo;
    cmdIndietro = navigatorBar_->cmdIndietro;
    cmdAvanti = navigatorBar_->cmdAvanti;
    cmdUltimo = navigatorBar_->cmdUltimo;
    lblPosizione = navigatorBar_->lblPosizione;
    hintBand.row->addWidget(navigatorBar_);
    root->addWidget(band);

    auto* sections = new QWidget(this);
    sections->setObjectName(QStringLiteral("panSezioni"));
    body->addWidget(sections, 1);
    auto* column = new QFrame(this);
    column->setObjectName(QStringLiteral("panComandi"));
    body->addWidget(column);

    buildFields(sections);
    buildToolbar(column);

    // Moving over the screen, its panels and decorations empties the hint line.
    hintLine_->clearOver(this);
    hintLine_->clearOver(column);
    hintLine_->clearOver(band);
    hintLine_->clearOver(panInfo);
    clearHintsOver(*hintLine_, sections);

    // Hidden attachment fields, with their design texts.
    const auto hidden = [this](const char* name, const char* designText) {
        auto* l = new QLabel(QString::fromLatin1(designText), this);
        l->setObjectName(QString::fromLatin1(name));
        l->hide();
        return l;
    };
    lblFile01 = hidden("lblFile01", "File01");
    lblFile02 = hidden("lblFile02", "File02");
    lblFile03 = hidden("lblFile03", "File03");
    lblDesc01 = hidden("lblDesc01", "Desc01");
    lblDesc02 = hidden("lblDesc02", "Desc02");
    lblDesc03 = hidden("lblDesc03", "Desc03");

    // The record mapping, from the same tables that built the boxes.
    binding_ = std::make_unique<CardBinding>(this, lblPosizione, kClienteFields);
    for (std::size_t i = 0; i < kClientCardFields.size(); ++i)
        binding_->bindText(fields_[i], kClientCardFields[i].field);
    binding_->bindCheck(chkRicontatta, kRicontattaField, kRicontattaYes, kRicontattaNo);
    for (const auto& [label, fieldName] : kClientAttachmentLabels) {
        auto* l = findChild<QLabel*>(QString::fromLatin1(label));
        binding_->bindText(l, fieldName);
        binding_->emptyOnDuplicate(l);
    }
    navigator_ = std::make_unique<CardNavigator>(clientCardRules(), *binding_);
    navigatorBar_->connectTo(*navigator_);
    maximiseWindow(this); // the work area fills the screen

    connect(cmdNuovo, &QToolButton::clicked, this, [this] { navigator_->newCard(); });
    connect(cmdSalva, &QToolButton::clicked, this, [this] { navigator_->save(); });
    connect(cmdDuplica, &QToolButton::clicked, this, [this] { navigator_->duplicate(); });
    connect(cmdGuida, &QToolButton::clicked, this, &TfrmClienti::cmdGuidaClick);
    connect(cmdEsci, &QToolButton::clicked, this, &TfrmClienti::cmdEsciClick);
    connectClientCardOutput(this, cmdStampa, cmdAnteprima, cmdPDF);
    connect(btnEmail, &QToolButton::clicked, this, &TfrmClienti::btnEmailClick);
    connect(btnCodFisc, &QToolButton::clicked, this, &TfrmClienti::btnCodFiscClick);
    connect(btnCarta, &QToolButton::clicked, this, &TfrmClienti::btnCartaClick);
    connect(btnPartitaIva, &QToolButton::clicked, this, &TfrmClienti::btnPartitaIvaClick);
    connect(btnIban, &QToolButton::clicked, this, &TfrmClienti::btnIbanClick);
    connect(btnProve, &QToolButton::clicked, this, &TfrmClienti::btnProveClick);
    connect(cmdFile, &QToolButton::clicked, this, [this] { openAllegaCartella(this); });
    connect(cmdTrova, &QToolButton::clicked, this, [this] { openTrovaClienti(this, kModeClienti); });
    connect(cmdRicontatta, &QToolButton::clicked, this, [this] { openRicontatta(this); });
    connect(cmdEsporta, &QToolButton::clicked, this, [this] { TfrmExpClienti::open(this); });
}

TfrmClienti::~TfrmClienti() {
    if (frmClienti == this)
        frmClienti = nullptr;
}

QWidget* TfrmClienti::field(const QString& name) const {
    for (QWidget* w : fields_)
        if (w && w->objectName() == name)
            return w;
    return nullptr;
}

void TfrmClienti::buildFields(QWidget* sectionsArea) {
    auto* stack = new QVBoxLayout(sectionsArea);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);

    std::array<QGridLayout*, 5> grids{};
    std::array<QFrame*, 5> frames{};
    for (int s = 0; s < 5; ++s) {
        QFrame* frame = makeSectionFrame(sectionsArea, s + 1);
        auto* row = new QHBoxLayout(frame);
        row->setContentsMargins(8, 6, 10, 8);
        row->setSpacing(12);
        row->addWidget(makeSectionPicture(frame, s + 1, kSectionArt[static_cast<std::size_t>(s)]), 0, Qt::AlignVCenter);
        QGridLayout* grid = makeFieldGrid(kColumns, 12, 5);
        row->addLayout(grid, 1);
        grids[static_cast<std::size_t>(s)] = grid;
        frames[static_cast<std::size_t>(s)] = frame;
        stack->addWidget(frame);
    }
    stack->addStretch(1);
    sectionStack_ = stack;

    std::array<int, 5> nextColumn{};
    std::array<int, 5> lastRow{-1, -1, -1, -1, -1};
    QList<QWidget*> ring;
    for (std::size_t i = 0; i < kClientCardFields.size(); ++i) {
        const ClientCardField& f = kClientCardFields[i];
        const Placement p = kPlacements[i];
        const auto s = static_cast<std::size_t>(f.section - 1);
        QFrame* frame = frames[s];
        QGridLayout* grid = grids[s];
        if (p.row != lastRow[s]) {
            lastRow[s] = p.row;
            nextColumn[s] = 0;
        }
        const int capacity = static_cast<int>(
            kClienteFields[static_cast<std::size_t>(fieldIndex(kClienteFields, QString::fromLatin1(f.field)))]
                .capacity);
        const QString name = QString::fromLatin1(f.control);

        QWidget* box = nullptr;
        QLineEdit* edit = nullptr;
        if (f.provinceList) {
            auto* combo = new QComboBox(frame);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr); // what the user types stays as typed
            for (const char* code : kProvinceCodes)
                combo->addItem(QString::fromLatin1(code));
            combo->setCurrentIndex(-1);
            combo->setMaxVisibleItems(16);
            edit = combo->lineEdit();
            combo->installEventFilter(this);
            edit->installEventFilter(this);
            box = combo;
        } else {
            edit = new QLineEdit(frame);
            box = edit;
        }
        box->setObjectName(name);
        box->setFont(cardBoxFont());
        edit->setFont(cardBoxFont());
        box->setMinimumHeight(30);
        box->setMinimumWidth(40);
        edit->setMaxLength(capacity);

        switch (f.filter) {
        case ClientFieldFilter::None:
            break;
        case ClientFieldFilter::Digits:
            installDigitOnlyFilter(box);
            break;
        case ClientFieldFilter::UpperOnKeyRelease:
            installTypingFilterOnKeyRelease(edit, TypingFilter::Upper);
            break;
        default:
            installTypingFilter(edit, typingFilterOf(f.filter));
            if (filtersOnLeave(f.filter) && !f.provinceList)
                edit->installEventFilter(this);
            break;
        }

        QLabel* caption = makeCaption(frame, QStringLiteral("lbl") + name.mid(3), QString::fromUtf8(f.caption), box);
        if (p.row > 0)
            spacedCaptions_.append(caption);
        QHBoxLayout* cell = placeUnderCaption(grid, caption, box, p.row * 2, nextColumn[s], p.span);
        nextColumn[s] += p.span;
        addCheckButton(cell, frame, *hintLine_, name);

        addFocusRect(box);
        fields_[i] = box;
        ring.append(box);
    }

    // Section 5: the recontact box and the call history beside the two boxes.
    QFrame* last = frames[4];
    chkRicontatta = new QCheckBox(QStringLiteral("Da ricontattare"), last);
    chkRicontatta->setObjectName(QStringLiteral("chkRicontatta"));
    chkRicontatta->setFont(cardCaptionFont());
    hintLine_->setHint(chkRicontatta,
                       QStringLiteral("Annota che il cliente è da ricontattare per questioni in sospeso."));
    btnProve = makeCommandPicture(last, QStringLiteral("btnProve"), QStringLiteral(":/clients/art/storico.svg"),
                                  QString(), 22);
    btnProve->setText(QStringLiteral("Storico chiamate"));
    btnProve->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnProve->setFont(cardCaptionFont());
    btnProve->setMinimumHeight(30);
    hintLine_->setHint(btnProve, QStringLiteral("Visualizza lo storico delle telefonate del cliente archiviate nel "
                                                "registro delle chiamate."));
    grids[4]->addWidget(chkRicontatta, 0, nextColumn[4], 1, kColumns - nextColumn[4], Qt::AlignLeft | Qt::AlignBottom);
    grids[4]->addWidget(btnProve, 1, nextColumn[4], 1, kColumns - nextColumn[4], Qt::AlignLeft);

    new EnterRing(ring, this);
    for (qsizetype i = 1; i < ring.size(); ++i)
        QWidget::setTabOrder(ring[i - 1], ring[i]);

    txtCliente = qobject_cast<QLineEdit*>(field(QStringLiteral("txtCliente")));
    txtRecapito = qobject_cast<QLineEdit*>(field(QStringLiteral("txtRecapito")));
    txtEmail = qobject_cast<QLineEdit*>(field(QStringLiteral("txtEmail")));
    txtCodFisc = qobject_cast<QLineEdit*>(field(QStringLiteral("txtCodFisc")));
    txtCarta = qobject_cast<QLineEdit*>(field(QStringLiteral("txtCarta")));
    txtPartitaIva = qobject_cast<QLineEdit*>(field(QStringLiteral("txtPartitaIva")));
    txtIban = qobject_cast<QLineEdit*>(field(QStringLiteral("txtIban")));
    txtProvNasc = qobject_cast<QComboBox*>(field(QStringLiteral("txtProvNasc")));
    txtProvRes = qobject_cast<QComboBox*>(field(QStringLiteral("txtProvRes")));
    btnEmail = findChild<QToolButton*>(QStringLiteral("btnEmail"));
    btnCodFisc = findChild<QToolButton*>(QStringLiteral("btnCodFisc"));
    btnCarta = findChild<QToolButton*>(QStringLiteral("btnCarta"));
    btnPartitaIva = findChild<QToolButton*>(QStringLiteral("btnPartitaIva"));
    btnIban = findChild<QToolButton*>(QStringLiteral("btnIban"));
}

void TfrmClienti::buildToolbar(QWidget* column) {
    const std::array<CommandDef, 12> commands{{
        {&cmdNuovo, "cmdNuovo", ":/cards/art/nuovo.svg", "Nuovo", kNavigatorHints.nuovo},
        {&cmdDuplica, "cmdDuplica", ":/cards/art/duplica.svg", "Duplica", kNavigatorHints.duplica},
        {&cmdFile, "cmdFile", ":/cards/art/allega.svg", "Allega file",
         QStringLiteral("Allega file alla scheda corrente.")},
        {&cmdSalva, "cmdSalva", ":/cards/art/salva.svg", "Salva", kNavigatorHints.salva},
        {&cmdTrova, "cmdTrova", ":/cards/art/trova.svg", "Trova", QStringLiteral("Trova una scheda in archivio.")},
        {&cmdAnteprima, "cmdAnteprima", ":/cards/art/anteprima.svg", "Anteprima",
         QStringLiteral("Visualizza l'anteprima di stampa.")},
        {&cmdStampa, "cmdStampa", ":/cards/art/stampa.svg", "Stampa", QStringLiteral("Stampa la scheda corrente.")},
        {&cmdPDF, "cmdPDF", ":/cards/art/pdf.svg", "PDF", QStringLiteral("Esporta la scheda in formato PDF.")},
        {&cmdRicontatta, "cmdRicontatta", ":/clients/art/ricontatta.svg", "Da ricontattare",
         QStringLiteral("Visualizza il riepilogo delle persone da ricontattare.")},
        {&cmdEsporta, "cmdEsporta", ":/cards/art/esporta.svg", "Esporta",
         QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel.")},
        {&cmdGuida, "cmdGuida", ":/cards/art/guida.svg", "Guida", QStringLiteral("Visualizza la guida in linea.")},
        {&cmdEsci, "cmdEsci", ":/cards/art/esci.svg", "Esci",
         QStringLiteral("Esci dalla schermata di lavoro corrente.")},
    }};
    fillCommandColumn(column, *hintLine_, commands, 104);
}

// A taller screen spreads the sections: the spare height goes evenly into the gaps between sections and
// between rows, up to a limit, instead of piling up under the last section.
void TfrmClienti::spreadSections() {
    constexpr int kInnerGaps = 4;   // rows after the first of their section
    constexpr int kSectionGaps = 4; // between the five sections
    const auto added = [](int e) { return (kInnerGaps + kSectionGaps) * e + 10 * (e / 2); };
    const int base = sectionStack_->sizeHint().height() - added(spread_);
    const int spare = sectionStack_->parentWidget()->height() - base;
    const int e = std::clamp(spare / (kInnerGaps + kSectionGaps + 5), 0, 22);
    if (e == spread_)
        return;
    spread_ = e;
    sectionStack_->setSpacing(8 + e);
    for (QLabel* caption : spacedCaptions_)
        caption->setContentsMargins(0, e, 0, 0);
    for (int i = 0; i < sectionStack_->count(); ++i)
        if (QWidget* frame = sectionStack_->itemAt(i)->widget())
            frame->layout()->setContentsMargins(8, 6 + e / 2, 10, 8 + e / 2);
}

void TfrmClienti::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layout()->activate();
    spreadSections();
}

void TfrmClienti::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Shown from the start menu: always a new, empty card. A window coming back from the task bar keeps
    // its card.
    if (!event->spontaneous())
        navigator_->newCard();
}

bool TfrmClienti::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return QWidget::eventFilter(watched, event);
    for (std::size_t i = 0; i < kClientCardFields.size(); ++i) {
        const ClientCardField& f = kClientCardFields[i];
        auto* combo = qobject_cast<QComboBox*>(fields_[i]);
        const bool mine = watched == fields_[i] || (combo && watched == combo->lineEdit());
        if (!mine)
            continue;
        if (event->type() == QEvent::FocusIn && combo) {
            // The list loses its selection as the box takes the focus; what is typed stays.
            const QString text = combo->currentText();
            if (combo->currentIndex() != -1) {
                combo->setCurrentIndex(-1);
                combo->setEditText(text);
            }
        } else if (event->type() == QEvent::FocusOut && filtersOnLeave(f.filter)) {
            const QString text = controlTextOf(fields_[i]);
            const QString filtered = applyTypingFilter(typingFilterOf(f.filter), text);
            if (filtered != text)
                setControlText(fields_[i], filtered);
        }
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmClienti::cmdEsciClick() {
    close();
}

void TfrmClienti::cmdGuidaClick() {
    showHelp(this, kHelpClientiTitle, helpClienti());
}

void TfrmClienti::btnEmailClick() {
    TMisc::Open(QStringLiteral("\"mailto:") + trimText(txtEmail->text()) + QLatin1Char('"'));
}

// The checks get the field's text and write nothing back into the card.
void TfrmClienti::btnCodFiscClick() {
    openCodFiscCheck(this, txtCodFisc->text());
}
void TfrmClienti::btnCartaClick() {
    TfrmCarta::open(this, txtCarta->text());
}
void TfrmClienti::btnPartitaIvaClick() {
    TfrmPartitaIva::open(this, txtPartitaIva->text());
}
void TfrmClienti::btnIbanClick() {
    TfrmIban::open(this, txtIban->text());
}

void TfrmClienti::btnProveClick() {
    if (const auto refusal = storicoRefusal(lblPosizione->text(), txtCodFisc->text())) {
        showWarning(this, refusal->warning);
        if (refusal->focusCodFisc)
            txtCodFisc->setFocus(Qt::OtherFocusReason);
        return;
    }
    TfrmStoricoChiamate::open(this, txtCodFisc->text());
}

} // namespace ombrisa
