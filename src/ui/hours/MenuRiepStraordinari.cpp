#include "ui/hours/MenuRiepStraordinari.h"

#include "core/dates/dates.h"
#include "core/storage/textfield.h"
#include "core/work/hourssummary.h"
#include "ui/common/conventions.h"
#include "ui/common/keyfilters.h"
#include "ui/common/listonlybox.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "ui/hours/RiepStraordinari.h"
#include "ui/search/Trova.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ombrisa {

namespace {

QStringList monthItems() {
    QStringList months;
    for (const QString& m : kMonthNames)
        months.append(m);
    return months;
}

QLineEdit* yearBox(const char* name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(4);
    box->setFixedWidth(90);
    installDigitOnlyFilter(box);
    return box;
}

} // namespace

TfrmMenuRiepStraordinari::TfrmMenuRiepStraordinari(QWidget* parent) : QWidget(parent, Qt::Window) {
    applyScreenFormats();
    setObjectName(QStringLiteral("frmMenuRiepStraordinari"));
    setWindowTitle(QStringLiteral(" Ombrisa - Riepilogo Ore di Lavoro"));
    setStyleSheet(
        QStringLiteral("#frmMenuRiepStraordinari { background: #eef3f8; }"
                       "QFrame#panContainer { background: white; border: 1px solid #b8c9da; border-radius: 6px; }"
                       "QFrame#panContainer QLabel { background: transparent; }"
                       "QGroupBox { font-weight: bold; color: #245a80; border: 1px solid #b8c9da; border-radius: 4px;"
                       " margin-top: 12px; padding: 10px; }"
                       "QGroupBox::title { subcontrol-origin: margin; left: 10px; }"
                       "QLabel#lblTitolo { color: #245a80; }"
                       "QLabel#lblAttendere { color: #b03a2e; font-weight: bold; }"
                       "QLineEdit, QComboBox { min-height: 26px; }"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("panContainer"));
    panel->setFixedWidth(980);
    auto* page = new QVBoxLayout(this);
    page->addStretch(1);
    auto* centre = new QHBoxLayout;
    centre->addStretch(1);
    centre->addWidget(panel);
    centre->addStretch(1);
    page->addLayout(centre);
    page->addStretch(1);

    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(28, 22, 28, 22);
    column->setSpacing(10);
    auto* title = new QLabel(QStringLiteral("Riepilogo ore di lavoro"), panel);
    title->setObjectName(QStringLiteral("lblTitolo"));
    title->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 16, true));
    column->addWidget(title);

    column->addWidget(new QLabel(QStringLiteral("Indicare il codice fiscale dell'agente:"), panel));
    auto* cfRow = new QHBoxLayout;
    txtCliente = new QLineEdit(panel);
    txtCliente->setObjectName(QStringLiteral("txtCliente"));
    txtCliente->setMaxLength(16);
    txtCliente->setFixedWidth(260);
    installTypingFilter(txtCliente, TypingFilter::TrimUpper);
    btnCodFisc = new PictureBox(QStringLiteral(":/hours/art/freccia.svg"), panel);
    btnCodFisc->setObjectName(QStringLiteral("btnCodFisc"));
    btnCodFisc->setFixedSize(30, 30);
    btnCodFisc->setClickable(true);
    btnCodFisc->setToolTip(QStringLiteral("Importa il codice fiscale dall'archivio anagrafico degli agenti"));
    cfRow->addWidget(txtCliente);
    cfRow->addWidget(btnCodFisc);
    cfRow->addStretch(1);
    column->addLayout(cfRow);
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

    const QStringList days = intervalDayItems();
    const QStringList months = monthItems();
    const auto group = [&](const QString& caption, QComboBox*& day, QComboBox*& month, QLineEdit*& year,
                           const char* dayName, const char* monthName, const char* yearName) {
        auto* box = new QGroupBox(caption, panel);
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(16);
        day = pickBox(dayName, days, 2, [days](const QString& text) { return days.contains(text); });
        day->setParent(box);
        day->setFixedWidth(90);
        // A month is known whatever its case.
        month = pickBox(monthName, months, 9, [](const QString& text) { return intervalMonthNumber(text) > 0; });
        month->setParent(box);
        month->setFixedWidth(170);
        year = yearBox(yearName, box);
        grid->addWidget(new QLabel(QStringLiteral("Giorno:"), box), 0, 0);
        grid->addWidget(new QLabel(QStringLiteral("Mese:"), box), 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("Anno:"), box), 0, 2);
        grid->addWidget(day, 1, 0);
        grid->addWidget(month, 1, 1);
        grid->addWidget(year, 1, 2);
        grid->setColumnStretch(3, 1);
        return box;
    };
    auto* groups = new QHBoxLayout;
    groups->addWidget(group(QStringLiteral(" Data inizio intervallo: "), txtGiornoInizio, txtMeseInizio, txtAnnoInizio,
                            "txtGiornoInizio", "txtMeseInizio", "txtAnnoInizio"));
    groups->addWidget(group(QStringLiteral(" Data fine intervallo: "), txtGiornoFine, txtMeseFine, txtAnnoFine,
                            "txtGiornoFine", "txtMeseFine", "txtAnnoFine"));
    column->addLayout(groups);

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
    buttons->addStretch(1);
    buttons->addWidget(btnVisualizza);
    buttons->addWidget(btnEsci);
    column->addLayout(buttons);

    // Enter moves through the boxes to Visualizza.
    auto* ring = new EnterRing(
        {txtCliente, txtGiornoInizio, txtMeseInizio, txtAnnoInizio, txtGiornoFine, txtMeseFine, txtAnnoFine}, this);
    ring->setAction(txtAnnoFine, [this] { btnVisualizza->setFocus(Qt::TabFocusReason); });

    connect(btnVisualizza, &QPushButton::pressed, this, [this] {
        lblAttendere->show();
        lblAttendere->repaint();
    });
    connect(btnVisualizza, &QPushButton::clicked, this, &TfrmMenuRiepStraordinari::btnVisualizzaClick);
    connect(btnEsci, &QPushButton::clicked, this, &QWidget::close);
    connect(btnCodFisc, &PictureBox::clicked, this, [this] {
        openAgentSearchForInterval(this, [this](const QString& codFisc) { txtCliente->setText(codFisc); });
    });

    maximiseWindow(this);
}

TfrmMenuRiepStraordinari::~TfrmMenuRiepStraordinari() = default;

QComboBox* TfrmMenuRiepStraordinari::pickBox(const char* name, const QStringList& items, int limit,
                                             std::function<bool(const QString&)> accepts) {
    auto* box = new QComboBox(this);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setMaxVisibleItems(12);
    box->lineEdit()->setMaxLength(limit);
    makeListOnly(box, std::move(accepts));
    clearListBox(box);
    return box;
}

void TfrmMenuRiepStraordinari::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return; // back from the task bar: the fields stay as they were
    txtCliente->clear();
    for (QComboBox* box : {txtGiornoInizio, txtMeseInizio, txtGiornoFine, txtMeseFine})
        clearListBox(box);
    const QString year = QStringLiteral("%1").arg(clock().today().year(), 4, 10, QLatin1Char('0'));
    txtAnnoInizio->setText(year);
    txtAnnoFine->setText(year);
    lblAttendere->hide();
    txtCliente->setFocus(Qt::OtherFocusReason);
}

void TfrmMenuRiepStraordinari::btnVisualizzaClick() {
    lblDataInizio->clear();
    lblDataFine->clear();
    const IntervalCheck check = checkInterval(
        {txtCliente->text(), txtGiornoInizio->currentText(), txtMeseInizio->currentText(), txtAnnoInizio->text(),
         txtGiornoFine->currentText(), txtMeseFine->currentText(), txtAnnoFine->text()});
    lblDataInizio->setText(check.fromText);
    lblDataFine->setText(check.toText);
    if (check.refusal) {
        lblAttendere->hide();
        if (check.refusal->plain)
            showPlain(this, check.refusal->message);
        else
            showWarning(this, check.refusal->message);
        if (!check.refusal->focus.isEmpty())
            if (auto* target = findChild<QWidget*>(check.refusal->focus))
                target->setFocus(Qt::OtherFocusReason);
        return;
    }
    lblAttendere->show();
    execDialog(new TfrmRiepStraordinari(this));
    lblAttendere->hide();
}

} // namespace ombrisa
