#include "ui/cards/intervalboxes.h"

#include "ui/cards/cardparts.h"
#include "ui/common/keyfilters.h"
#include "ui/common/listonlybox.h"
#include "ui/common/services.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

#include <array>

namespace ombrisa {
namespace {

// Area 0: the codice fiscale; 1 and 2: the start and the end group.
constexpr std::array<CardPlacement, 7> kIntervalPlacements{{
    {0, 0, 0, 1},
    {1, 0, 0, 1},
    {1, 0, 1, 1},
    {1, 0, 2, 1},
    {2, 0, 0, 1},
    {2, 0, 1, 1},
    {2, 0, 2, 1},
}};

// Widths that show two digits, "Settembre" and four digits whole in the cards' box font, with room for the
// list's arrow and the padding, and no more: the statistics screen puts both ends, its quick choices and its
// buttons on one 1366-pixel line.
int boxWidth(const QString& widest, int extra) {
    return QFontMetrics(cardBoxFont()).horizontalAdvance(widest) + extra;
}

QGridLayout* groupGrid(QGroupBox* group) {
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(3, 1);
    return grid;
}

} // namespace

IntervalInput IntervalBoxes::intervalInput() const {
    return {txtCliente ? txtCliente->text() : QString(),
            txtGiornoInizio->currentText(),
            txtMeseInizio->currentText(),
            txtAnnoInizio->text(),
            txtGiornoFine->currentText(),
            txtMeseFine->currentText(),
            txtAnnoFine->text()};
}

void IntervalBoxes::resetInterval(int year) {
    for (QComboBox* box : {txtGiornoInizio, txtMeseInizio, txtGiornoFine, txtMeseFine})
        clearListBox(box);
    const QString text = QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'));
    txtAnnoInizio->setText(text);
    txtAnnoFine->setText(text);
}

void IntervalBoxes::showInterval(const std::optional<QDate>& from, const std::optional<QDate>& to) {
    const auto put = [](const std::optional<QDate>& date, QComboBox* day, QComboBox* month, QLineEdit* year) {
        if (!date) {
            clearListBox(day);
            clearListBox(month);
            year->clear();
            return;
        }
        day->setCurrentIndex(date->day() - 1);
        month->setCurrentIndex(date->month() - 1);
        year->setText(QStringLiteral("%1").arg(date->year(), 4, 10, QLatin1Char('0')));
    };
    put(from, txtGiornoInizio, txtMeseInizio, txtAnnoInizio);
    put(to, txtGiornoFine, txtMeseFine, txtAnnoFine);
}

void buildIntervalBoxes(QWidget* screen, IntervalBoxes& boxes, const IntervalPlaces& places) {
    const bool withCodFisc = places.codFisc.parent != nullptr;
    const std::size_t first = withCodFisc ? 0 : 1;
    CardLayout layout;
    layout.fields = std::span<const CardField>(kIntervalFields).subspan(first);
    layout.placements = std::span<const CardPlacement>(kIntervalPlacements).subspan(first);
    layout.record = kIntervalBoxSizes;
    layout.areas = {withCodFisc ? places.codFisc : CardArea{screen, nullptr},
                    {places.from, groupGrid(places.from), true},
                    {places.to, groupGrid(places.to), true}};
    layout.look.boxMinWidth = 0;
    layout.listItems = [](const QString& control) {
        return control.startsWith(QLatin1String("txtGiorno")) ? intervalDayItems() : intervalMonthItems();
    };
    layout.listAccepts = [](const CardField& field, const QString& text) {
        return intervalBoxAccepts(QString::fromLatin1(field.field), text);
    };
    if (places.besideCodFisc)
        layout.besideBox = [beside = places.besideCodFisc](QHBoxLayout* cell, QWidget* parent, const QString&) {
            beside(cell, parent);
        };

    const BuiltFields built = buildCardFields(screen, nullptr, layout);
    qsizetype i = 0;
    if (withCodFisc)
        boxes.txtCliente = qobject_cast<QLineEdit*>(built.controls[i++]);
    boxes.txtGiornoInizio = qobject_cast<QComboBox*>(built.controls[i++]);
    boxes.txtMeseInizio = qobject_cast<QComboBox*>(built.controls[i++]);
    boxes.txtAnnoInizio = qobject_cast<QLineEdit*>(built.controls[i++]);
    boxes.txtGiornoFine = qobject_cast<QComboBox*>(built.controls[i++]);
    boxes.txtMeseFine = qobject_cast<QComboBox*>(built.controls[i++]);
    boxes.txtAnnoFine = qobject_cast<QLineEdit*>(built.controls[i++]);
    boxes.intervalRing = built.ring;
    const int dayWidth = boxWidth(QStringLiteral("00"), 40);
    const int monthWidth = boxWidth(QStringLiteral("Settembre"), 40);
    const int yearWidth = boxWidth(QStringLiteral("0000"), 16);
    for (QComboBox* day : {boxes.txtGiornoInizio, boxes.txtGiornoFine}) {
        day->setFixedWidth(dayWidth);
        day->setMaxVisibleItems(12);
    }
    for (QComboBox* month : {boxes.txtMeseInizio, boxes.txtMeseFine}) {
        month->setFixedWidth(monthWidth);
        month->setMaxVisibleItems(12);
    }
    for (QLineEdit* year : {boxes.txtAnnoInizio, boxes.txtAnnoFine})
        year->setFixedWidth(yearWidth);
    // The two ends share their captions ("Giorno:"...): a screen reader names each box with its group.
    const std::pair<QGroupBox*, std::array<QWidget*, 3>> ends[] = {
        {places.from, {boxes.txtGiornoInizio, boxes.txtMeseInizio, boxes.txtAnnoInizio}},
        {places.to, {boxes.txtGiornoFine, boxes.txtMeseFine, boxes.txtAnnoFine}}};
    const char* const parts[] = {"giorno", "mese", "anno"};
    for (const auto& [group, endBoxes] : ends) {
        QString title = group->title().trimmed();
        if (title.endsWith(QLatin1Char(':')))
            title = title.chopped(1).trimmed();
        for (std::size_t k = 0; k < endBoxes.size(); ++k)
            endBoxes[k]->setAccessibleName(title + QStringLiteral(": ") + QLatin1String(parts[k]));
    }
}

void showIntervalRefusal(QWidget* screen, const IntervalRefusal& refusal) {
    if (refusal.plain)
        showPlain(screen, refusal.message);
    else
        showWarning(screen, refusal.message);
    if (!refusal.focus.isEmpty())
        if (auto* target = screen->findChild<QWidget*>(refusal.focus))
            target->setFocus(Qt::OtherFocusReason);
}

} // namespace ombrisa
