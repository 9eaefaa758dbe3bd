#include "ui/clients/Clienti.h"

#include "core/cards/clientcard.h"
#include "core/cards/duplicates.h"
#include "core/records/records.h"
#include "ui/app/guida.h"
#include "ui/attachments/AllegaCartella.h"
#include "ui/calls/StoricoChiamate.h"
#include "ui/cards/cardbinding.h"
#include "ui/cards/cardparts.h"
#include "ui/cards/cardwidgets.h"
#include "ui/clients/Ricontatta.h"
#include "ui/clients/clientcardreport.h"
#include "ui/common/helptexts.h"
#include "ui/common/hintline.h"
#include "ui/common/picturebox.h"
#include "ui/common/services.h"
#include "ui/export/ExpClienti.h"
#include "ui/import/Importa.h"
#include "ui/phone/callbuttons.h"
#include "ui/privacy/privacy.h"
#include "ui/search/Trova.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

namespace ombrisa {
namespace {

// Where each box of kClientCardFields stands: its section, row, first of the section's twelve columns
// and columns spanned. Same order as the field table.
constexpr std::array<CardPlacement, kClientCardFields.size()> kPlacements{{
    {0, 0, 0, 4},  {0, 0, 4, 2}, {0, 0, 6, 4}, {0, 0, 10, 1}, {0, 0, 11, 1}, // Cliente … Sesso
    {0, 1, 0, 3},  {0, 1, 3, 4}, {0, 1, 7, 1}, {0, 1, 8, 3},  {0, 1, 11, 1}, // Recapito … CapRes
    {0, 2, 0, 12},                                                           // Estremi
    {1, 0, 0, 2},  {1, 0, 2, 2}, {1, 0, 4, 2}, {1, 0, 6, 3},  {1, 0, 9, 3},  // TelCasa … Email
    {2, 0, 0, 3},  {2, 0, 3, 3}, {2, 0, 6, 2}, {2, 0, 8, 3},                 // CodFisc … PartitaIva
    {2, 1, 0, 5},                                                            // Iban
    {3, 0, 0, 5},  {3, 0, 5, 4}, {3, 0, 9, 3},                               // Documento, Occupazione, Civile
    {3, 1, 0, 4},  {3, 1, 4, 5}, {3, 1, 9, 3},                               // Titoli, Prodotti, Zona
    {4, 0, 0, 5},  {4, 0, 5, 5},                                             // Questioni, Note
}};
constexpr int kColumns = 12;
constexpr int kFirstFreeColumnOfLastSection = 10; // the recontact box and the call history stand there

// The pictures at the left of the five sections.
constexpr std::array<const char*, 5> kSectionArt{":/clients/art/sezione01.svg", ":/clients/art/sezione02.svg",
                                                 ":/clients/art/sezione03.svg", ":/clients/art/sezione04.svg",
                                                 ":/clients/art/sezione05.svg"};

const QString kDesignHint = QStringLiteral("Pronto per archiviare una nuova scheda...");

} // namespace

TfrmClienti::TfrmClienti(QWidget* parent) : CardScreen(parent) {
    setupCard(QStringLiteral("frmClienti"), QStringLiteral(" Ombrisa - Archivio Clienti"),
              cardScreenStyle(QStringLiteral("frmClienti"), QStringLiteral("#408ab3")) + cardBoxStyle() +
                  QStringLiteral(
                      "QCheckBox { color: #1f3b57; background: transparent; spacing: 8px; }"
                      "QCheckBox::indicator { width: 18px; height: 18px; border: 1px solid #4f7fa3; border-radius: 3px;"
                      " background: white; }"
                      "QCheckBox::indicator:checked { image: url(:/cards/art/spunta.svg); }"));

    const SideColumnFrame outline = makeSideColumnFrame(kDesignHint, kNavigatorHints);
    QWidget* sections = outline.sections;
    QFrame* column = outline.column;
    QFrame* band = outline.band;

    // Five framed sections, each with its picture at the left of its grid.
    auto* stack = new QVBoxLayout(sections);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);
    CardLayout layout{kClientCardFields, kPlacements, kClienteFields, {}, {}, {}, {}, {}};
    for (int s = 0; s < 5; ++s) {
        QFrame* frame = makeSectionFrame(sections, s + 1);
        auto* row = new QHBoxLayout(frame);
        row->setContentsMargins(8, 6, 10, 8);
        row->setSpacing(12);
        row->addWidget(makeSectionPicture(frame, s + 1, kSectionArt[static_cast<std::size_t>(s)]), 0, Qt::AlignVCenter);
        QGridLayout* grid = makeFieldGrid(kColumns, 12, 5);
        row->addLayout(grid, 1);
        layout.areas.append({frame, grid});
        stack->addWidget(frame);
    }
    stack->addStretch(1);
    sectionStack_ = stack;

    const QList<QLabel*> captions = buildFields(layout);
    for (std::size_t i = 0; i < kPlacements.size(); ++i)
        if (kPlacements[i].row > 0)
            spacedCaptions_.append(captions[static_cast<qsizetype>(i)]);

    // Section 5: the recontact box and the call history beside the two boxes.
    QWidget* last = layout.areas[4].parent;
    QGridLayout* lastGrid = layout.areas[4].grid;
    chkRicontatta = new QCheckBox(QStringLiteral("Da ricontattare"), last);
    chkRicontatta->setObjectName(QStringLiteral("chkRicontatta"));
    chkRicontatta->setFont(cardCaptionFont());
    hints().setHint(chkRicontatta,
                    QStringLiteral("Annota che il cliente è da ricontattare per questioni in sospeso."));
    btnProve = makeCommandPicture(last, QStringLiteral("btnProve"), QStringLiteral(":/clients/art/storico.svg"),
                                  QString(), 22);
    btnProve->setText(QStringLiteral("Storico chiamate"));
    btnProve->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnProve->setFont(cardCaptionFont());
    btnProve->setMinimumHeight(30);
    hints().setHint(btnProve, QStringLiteral("Visualizza lo storico delle telefonate del cliente archiviate nel "
                                             "registro delle chiamate."));
    constexpr int free = kFirstFreeColumnOfLastSection;
    lastGrid->addWidget(chkRicontatta, 0, free, 1, kColumns - free, Qt::AlignLeft | Qt::AlignBottom);
    lastGrid->addWidget(btnProve, 1, free, 1, kColumns - free, Qt::AlignLeft);

    txtCliente = qobject_cast<QLineEdit*>(field(QStringLiteral("txtCliente")));
    txtRecapito = qobject_cast<QLineEdit*>(field(QStringLiteral("txtRecapito")));
    txtEmail = qobject_cast<QLineEdit*>(field(QStringLiteral("txtEmail")));
    txtCodFisc = qobject_cast<QLineEdit*>(field(QStringLiteral("txtCodFisc")));
    txtCarta = qobject_cast<QLineEdit*>(field(QStringLiteral("txtCarta")));
    txtPartitaIva = qobject_cast<QLineEdit*>(field(QStringLiteral("txtPartitaIva")));
    txtIban = qobject_cast<QLineEdit*>(field(QStringLiteral("txtIban")));
    txtProvNasc = qobject_cast<QComboBox*>(field(QStringLiteral("txtProvNasc")));
    txtProvRes = qobject_cast<QComboBox*>(field(QStringLiteral("txtProvRes")));

    buildToolbar(column);

    // Moving over the screen, its panels and decorations empties the hint line.
    hints().clearOver(this);
    hints().clearOver(column);
    hints().clearOver(band);
    hints().clearOver(panInfo);
    clearHintsOver(hints(), sections);

    addAttachmentLabels();
    auto binding = std::make_unique<CardBinding>(this, lblPosizione, kClienteFields);
    binding->bindCheck(chkRicontatta, kRicontattaField, kRicontattaYes, kRicontattaNo);
    binding->saveChecks = [this] { return askAboutExistingClient(); };
    finishCard(std::move(binding), clientCardRules());

    connectClientCardOutput(this, cmdStampa, cmdAnteprima, cmdPDF);
    connect(btnProve, &QToolButton::clicked, this, &TfrmClienti::btnProveClick);
    connect(cmdFile, &QToolButton::clicked, this, [this] { openAllegaCartella(this); });
    connect(cmdTrova, &QToolButton::clicked, this, [this] { openTrovaClienti(this, kModeClienti); });
    connect(cmdRicontatta, &QToolButton::clicked, this, [this] { openRicontatta(this); });
    addCallActions(*this, {"txtRecapito", "txtTelCasa", "txtTelUff", "txtTelCel"});
    connect(cmdEsporta, &QToolButton::clicked, this, [this] { TfrmExpClienti::open(this); });
    connect(cmdImporta, &QToolButton::clicked, this, [this] { openImporta(this, ImportArchive::Clienti); });
    connectPrivacyMenu(this, cmdPrivacy);

    // The two province boxes share the caption "Prov.": a screen reader names each after its town (a
    // combo box is read by its caption, its value standing for its name).
    for (const auto& [box, name] :
         {std::pair{txtProvNasc, "Provincia di nascita"}, std::pair{txtProvRes, "Provincia di residenza"}}) {
        box->setAccessibleName(QString::fromLatin1(name));
        for (QLabel* caption : captions)
            if (caption && caption->buddy() == box)
                caption->setAccessibleName(QString::fromLatin1(name));
    }
    // The command reads apart from the recontact box of the last section.
    cmdRicontatta->setAccessibleName(QStringLiteral("Riepilogo da ricontattare"));
    orderTabs({}, sections, {column, band});
}

void TfrmClienti::buildToolbar(QWidget* column) {
    const std::array<CommandDef, 14> commands{{
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
        {&cmdImporta, "cmdImporta", ":/cards/art/esporta.svg", "Importa",
         QStringLiteral("Importa nuove schede da un foglio di calcolo (CSV, Excel, LibreOffice).")},
        {&cmdPrivacy, "cmdPrivacy", ":/privacy/art/privacy.svg", "Privacy",
         QStringLiteral("Dati personali del cliente: raccoglierli tutti, dimenticare il cliente, clienti da non "
                        "conservare.")},
        {&cmdGuida, "cmdGuida", ":/cards/art/guida.svg", "Guida", QStringLiteral("Visualizza la guida in linea.")},
        {&cmdEsci, "cmdEsci", ":/cards/art/esci.svg", "Esci",
         QStringLiteral("Esci dalla schermata di lavoro corrente.")},
    }};
    fillCommandColumn(column, hints(), commands, 104, 18); // fourteen commands: smaller pictures
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

// A new card (or a duplicate) of a client the archive already holds: Sì saves it all the same, No shows
// the existing card instead. An archive that cannot be read is left to the save, which reports it.
bool TfrmClienti::askAboutExistingClient() {
    if (!lblPosizione->text().trimmed().isEmpty())
        return true;
    TRecCliente record;
    std::memset(&record, 0, sizeof record);
    binding().fillRecord(&record);
    std::optional<std::int64_t> existing;
    if (!findExistingClient(record, 0, existing, nullptr) || !existing)
        return true;
    if (confirm(this, duplicateClientQuestion(*existing)))
        return true;
    navigator().showCard(*existing);
    return false;
}

void TfrmClienti::showHelp() {
    ombrisa::showHelp(this, kHelpClientiTitle, helpClienti());
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
