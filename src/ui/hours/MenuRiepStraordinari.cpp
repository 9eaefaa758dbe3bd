#include "ui/hours/MenuRiepStraordinari.h"

#include "core/dates/dates.h"
#include "core/storage/textfield.h"
#include "core/work/hourssummary.h"
#include "ui/common/conventions.h"
#include "ui/common/keyfilters.h"
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

TfrmMenuRiepStraordinari* frmMenuRiepStraordinari = nullptr;

namespace {

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
    if (!frmMenuRiepStraordinari)
        frmMenuRiepStraordinari = this;
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
    const QStringList months = intervalMonthItems();
    const auto group = [&](const QString& caption, QComboBox*& day, QComboBox*& month, QLineEdit*& year,
                           const char* dayName, const char* monthName, const char* yearName) {
        auto* box = new QGroupBox(caption, panel);
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(16);
        day = pickBox(dayName, days, 2);
        day->setParent(box);
        day->setFixedWidth(90);
        month = pickBox(monthName, months, 9);
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

    for (QWidget* w :
         {static_cast<QWidget*>(txtCliente), static_cast<QWidget*>(txtAnnoInizio), static_cast<QWidget*>(txtAnnoFine)})
        w->installEventFilter(this);

    connect(btnVisualizza, &QPushButton::pressed, this, [this] {
        lblAttendere->show();
        lblAttendere->repaint();
    });
    connect(btnVisualizza, &QPushButton::clicked, this, &TfrmMenuRiepStraordinari::btnVisualizzaClick);
    connect(btnEsci, &QPushButton::clicked, this, &QWidget::close);
    connect(btnCodFisc, &PictureBox::clicked, this, [this] { openAgentSearchForInterval(this); });

    maximiseWindow(this);
}

TfrmMenuRiepStraordinari::~TfrmMenuRiepStraordinari() {
    if (frmMenuRiepStraordinari == this)
        frmMenuRiepStraordinari = nullptr;
}

QComboBox* TfrmMenuRiepStraordinari::pickBox(const char* name, const QStringList& items, int limit) {
    auto* box = new QComboBox(this);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setMaxVisibleItems(12);
    box->lineEdit()->setMaxLength(limit);
    box->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    box->lineEdit()->setAcceptDrops(false);
    box->installEventFilter(this);
    box->lineEdit()->installEventFilter(this);
    clearPick(box);
    return box;
}

void TfrmMenuRiepStraordinari::clearPick(QComboBox* box) {
    box->setCurrentIndex(-1);
    box->clearEditText();
}

QComboBox* TfrmMenuRiepStraordinari::comboOf(QObject* watched) const {
    for (QComboBox* box : {txtGiornoInizio, txtMeseInizio, txtGiornoFine, txtMeseFine})
        if (box && (watched == box || watched == box->lineEdit()))
            return box;
    return nullptr;
}

QWidget* TfrmMenuRiepStraordinari::nextAfter(QWidget* field) const {
    const QWidget* order[] = {txtCliente,    txtGiornoInizio, txtMeseInizio, txtAnnoInizio,
                              txtGiornoFine, txtMeseFine,     txtAnnoFine,   btnVisualizza};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        if (order[i] == field)
            return const_cast<QWidget*>(order[i + 1]);
    return nullptr;
}

bool TfrmMenuRiepStraordinari::eventFilter(QObject* watched, QEvent* event) {
    QComboBox* pick = comboOf(watched);
    QWidget* field = pick ? static_cast<QWidget*>(pick) : qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::KeyPress && field && nextAfter(field)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            nextAfter(field)->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (pick) {
            // A day or month only comes from the list: typing is discarded, Backspace and Delete empty it.
            switch (key->key()) {
            case Qt::Key_Backspace:
            case Qt::Key_Delete:
                clearPick(pick);
                return true;
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_F4:
                return false;
            case Qt::Key_Down:
                return !(key->modifiers() & Qt::AltModifier); // Alt+Down opens the list
            default:
                return true;
            }
        }
    }
    if (pick && watched == pick && event->type() == QEvent::FocusIn) {
        // The list opens with no item chosen; the field keeps its text.
        const QString text = pick->currentText();
        const QSignalBlocker block(pick);
        pick->setCurrentIndex(-1);
        pick->setEditText(text);
    }
    if (pick && watched == pick && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        const bool isDay = pick == txtGiornoInizio || pick == txtGiornoFine;
        const QString text = trimText(pick->currentText());
        const bool known = isDay ? intervalDayItems().contains(text) : intervalMonthNumber(text) > 0;
        if (!known)
            clearPick(pick);
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMenuRiepStraordinari::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return; // back from the task bar: the fields stay as they were
    txtCliente->clear();
    for (QComboBox* box : {txtGiornoInizio, txtMeseInizio, txtGiornoFine, txtMeseFine})
        clearPick(box);
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
