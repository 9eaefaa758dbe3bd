#pragma once

// The interval boxes of the hours interval and statistics screens: day, month and year of the start and
// of the end (on the hours interval, the agent's codice fiscale before them), built by the card builder
// from kIntervalFields with the cards' captions, focus frames, list-only boxes, length limits and Enter
// ring; what they hold, as the interval checks read it; and how a refusal of those checks is shown.

#include "core/work/hourssummary.h"
#include "ui/cards/fieldbuilder.h"

#include <QDate>
#include <optional>

class QComboBox;
class QGroupBox;
class QLineEdit;

namespace ombrisa {

class EnterRing;

// The boxes, under the names the screens show them by; a screen inherits them as its members.
struct IntervalBoxes {
    QLineEdit* txtCliente = nullptr; // the agent's codice fiscale, when asked for
    QComboBox* txtGiornoInizio = nullptr;
    QComboBox* txtMeseInizio = nullptr;
    QLineEdit* txtAnnoInizio = nullptr;
    QComboBox* txtGiornoFine = nullptr;
    QComboBox* txtMeseFine = nullptr;
    QLineEdit* txtAnnoFine = nullptr;
    EnterRing* intervalRing = nullptr; // the boxes in Enter order

    // What the boxes hold, as the interval checks read it (no codice fiscale without its box).
    IntervalInput intervalInput() const;
    // Days and months emptied with no item of their lists chosen; both years `year` in four digits.
    void resetInterval(int year);
    // Each end shows its date; an open end leaves its three boxes empty.
    void showInterval(const std::optional<QDate>& from, const std::optional<QDate>& to);
};

// Where the boxes go: each end's three boxes side by side under their captions ("Giorno:", "Mese:",
// "Anno:") in its group box; with `codFisc` (an area whose parent is set), the codice fiscale box under its
// caption in row 0 of that area's grid, `besideCodFisc` run on its cell (the picture that imports it).
struct IntervalPlaces {
    QGroupBox* from = nullptr;
    QGroupBox* to = nullptr;
    CardArea codFisc{nullptr, nullptr};
    std::function<void(QHBoxLayout* cell, QWidget* parent)> besideCodFisc;
};
// Builds the boxes into `boxes` (the screen's own members), their hidden parts owned by `screen`.
void buildIntervalBoxes(QWidget* screen, IntervalBoxes& boxes, const IntervalPlaces& places);

// Shows a refusal of the interval checks, a warning or a plain box with its message, then puts the focus
// on the box it names (none: the focus stays).
void showIntervalRefusal(QWidget* screen, const IntervalRefusal& refusal);

} // namespace ombrisa
