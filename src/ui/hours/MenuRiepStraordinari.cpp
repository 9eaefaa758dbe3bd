#include "ui/hours/MenuRiepStraordinari.h"

#include "core/dates/dates.h"
#include "core/storage/textfield.h"
#include "core/work/hourssummary.h"
#include "ui/cards/cardparts.h"
#include "ui/common/conventions.h"
#include "ui/common/hintline.h"
#include "ui/common/keyfilters.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "ui/hours/RiepStraordinari.h"
#include "ui/search/Trova.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace ombrisa {

TfrmMenuRiepStraordinari::TfrmMenuRiepStraordinari(QWidget* parent) : QWidget(parent, Qt::Window) {
    applyScreenFormats();
    setAttribute(Qt::WA_StyledBackground);
    setObjectName(QStringLiteral("frmMenuRiepStraordinari"));
    setWindowTitle(QStringLiteral(" Ombrisa - Riepilogo Ore di Lavoro"));
    setStyleSheet(cardScreenStyle(objectName(), QStringLiteral("#408ab3")) + cardBoxStyle() +
                  QStringLiteral("QFrame#shpSezione01 QLabel { background: transparent; }"
                                 "QGroupBox { font-weight: bold; color: #245a80; border: 1px solid #9ec0da;"
                                 " border-radius: 4px; margin-top: 12px; padding: 10px 10px 6px 10px; }"
                                 "QGroupBox::title { subcontrol-origin: margin; left: 10px; }"
                                 "QLabel#lblTitolo { color: #245a80; }"
                                 "QLabel#lblAttendere { color: #b03a2e; font-weight: bold; }"));

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(10, 8, 10, 8);
    // The hint line first: the pictures and buttons register their hints on it.
    const HintBand band = makeHintBand(this, QStringLiteral("Pronto per un nuovo riepilogo delle ore di lavoro..."));
    panInfo = band.panInfo;
    auto* hints = new HintLine(panInfo);

    QFrame* panel = makeSectionFrame(this, 1);
    panel->setFixedWidth(980);
    page->addStretch(1);
    auto* centre = new QHBoxLayout;
    centre->addStretch(1);
    centre->addWidget(panel);
    centre->addStretch(1);
    page->addLayout(centre);
    page->addStretch(1);
    page->addWidget(band.band);

    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(28, 22, 28, 22);
    column->setSpacing(10);
    auto* title = new QLabel(QStringLiteral("Riepilogo ore di lavoro"), panel);
    title->setObjectName(QStringLiteral("lblTitolo"));
    title->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 16, true));
    column->addWidget(title);

    auto* cfGrid = makeFieldGrid(1, 0, 2);
    column->addLayout(cfGrid);
    auto* cfHint = new QLabel(QStringLiteral("Per importare il codice fiscale dell'agente dall'archivio anagrafico, "
                                             "utilizzare il pulsante a destra del campo di ricerca."),
                              panel);
    cfHint->setWordWrap(true);
    column->addWidget(cfHint);
    column->addSpacing(8);
    auto* intervalHint = new QLabel(QStringLiteral("Indicare l'intervallo di tempo relativo al periodo da riepilogare "
                                                   "in base alla data di svolgimento delle prestazioni lavorative."),
                                    panel);
    intervalHint->setWordWrap(true);
    column->addWidget(intervalHint);

    auto* groups = new QHBoxLayout;
    auto* from = new QGroupBox(QStringLiteral(" Data inizio intervallo: "), panel);
    auto* to = new QGroupBox(QStringLiteral(" Data fine intervallo: "), panel);
    groups->addWidget(from);
    groups->addWidget(to);
    column->addLayout(groups);

    IntervalPlaces places{from, to, {panel, cfGrid}, {}};
    places.besideCodFisc = [this, hints](QHBoxLayout* cell, QWidget* area) {
        btnCodFisc = makeSideButton(area, *hints, "btnCodFisc", ":/hours/art/freccia.svg",
                                    "Importa il codice fiscale dall'archivio anagrafico degli agenti.");
        cell->addWidget(btnCodFisc);
        cell->addStretch(1);
    };
    buildIntervalBoxes(this, *this, places);
    txtCliente->setFixedWidth(300);

    lblDataInizio = new QLabel(panel);
    lblDataInizio->setObjectName(QStringLiteral("lblDataInizio"));
    lblDataInizio->hide();
    lblDataFine = new QLabel(panel);
    lblDataFine->setObjectName(QStringLiteral("lblDataFine"));
    lblDataFine->hide();

    lblAttendere = new QLabel(QStringLiteral("Caricamento riepilogo in corso. Attendere..."), panel);
    lblAttendere->setObjectName(QStringLiteral("lblAttendere"));
    lblAttendere->setAlignment(Qt::AlignCenter);
    // The notice keeps its room while hidden, so the buttons stay where they are.
    QSizePolicy keep = lblAttendere->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    lblAttendere->setSizePolicy(keep);
    lblAttendere->hide();
    column->addSpacing(6);
    column->addWidget(lblAttendere);

    auto* buttons = new QHBoxLayout;
    btnVisualizza = new QPushButton(QStringLiteral("Visualizza riepilogo"), panel);
    btnVisualizza->setObjectName(QStringLiteral("btnVisualizza"));
    btnVisualizza->setMinimumWidth(200);
    btnEsci = new QPushButton(QStringLiteral("Esci"), panel);
    btnEsci->setObjectName(QStringLiteral("btnEsci"));
    btnEsci->setMinimumWidth(120);
    makeClickable(btnVisualizza);
    makeClickable(btnEsci);
    hints->setHint(btnVisualizza, QStringLiteral("Controlla l'agente e l'intervallo e mostra il riepilogo."));
    hints->setHint(btnEsci, QStringLiteral("Torna al menu principale."));
    buttons->addStretch(1);
    buttons->addWidget(btnVisualizza);
    buttons->addWidget(btnEsci);
    column->addLayout(buttons);
    clearHintsOver(*hints, this);

    // Enter moves through the boxes to Visualizza.
    intervalRing->setAction(txtAnnoFine, [this] { btnVisualizza->setFocus(Qt::TabFocusReason); });
    QWidget::setTabOrder(txtAnnoFine, btnVisualizza);
    QWidget::setTabOrder(btnVisualizza, btnEsci);

    connect(btnVisualizza, &QPushButton::pressed, this, [this] {
        lblAttendere->show();
        lblAttendere->repaint();
    });
    connect(btnVisualizza, &QPushButton::clicked, this, &TfrmMenuRiepStraordinari::btnVisualizzaClick);
    connect(btnEsci, &QPushButton::clicked, this, &QWidget::close);
    connect(btnCodFisc, &QToolButton::clicked, this, [this] {
        openAgentSearchForInterval(this, [this](const QString& codFisc) { txtCliente->setText(codFisc); });
    });

    maximiseWindow(this);
}

TfrmMenuRiepStraordinari::~TfrmMenuRiepStraordinari() = default;

void TfrmMenuRiepStraordinari::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return; // back from the task bar: the fields stay as they were
    txtCliente->clear();
    resetInterval(clock().today().year());
    lblAttendere->hide();
    txtCliente->setFocus(Qt::OtherFocusReason);
}

void TfrmMenuRiepStraordinari::btnVisualizzaClick() {
    lblDataInizio->clear();
    lblDataFine->clear();
    const IntervalCheck check = checkInterval(intervalInput());
    lblDataInizio->setText(check.fromText);
    lblDataFine->setText(check.toText);
    if (check.refusal) {
        lblAttendere->hide();
        showIntervalRefusal(this, *check.refusal);
        return;
    }
    lblAttendere->show();
    execDialog(new TfrmRiepStraordinari(this));
    lblAttendere->hide();
}

} // namespace ombrisa
