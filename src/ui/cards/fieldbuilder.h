#pragma once

// The one builder of a screen's boxes from its field and placement tables (core/cards/cardfield.h):
// each box with its caption, typing filter, length limit, look or focus frame, check picture and the
// focus rules of its kind, then the Enter ring and the tab order. The card screens build with it
// through CardScreen::buildFields(); a screen that is no card (the work register's edit panel) calls
// buildCardFields() itself with its own hint line.

#include "core/cards/cardfield.h"
#include "core/records/fieldtable.h"
#include "ui/cards/cardparts.h" // the widgets and parts the boxes are built of

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <span>

namespace ombrisa {

class EnterRing;

// A place that placements point to: a section's grid (caption over box, each box in a cell of its own
// where side pictures follow it) or a compact group's grid (caption over box, nothing beside).
struct CardArea {
    QWidget* parent;
    QGridLayout* grid;
    bool compact = false;
};

// How a screen's boxes look: their height and least width (0: no least width), the word added to
// caption names ("lblCliente" + suffix), and whether they show the yellow focus frame or the restyled
// field look.
struct CardLook {
    int boxHeight = 30;
    int boxMinWidth = 40;
    QString captionSuffix;
    bool fieldLook = false;
};

// What the builder needs: the two tables, the record's field table (for the capacities), the areas,
// the look, the items of ListOnly boxes by control name, an optional hook run on each placed box's cell
// (a screen's own picture beside a box), and which texts a ListOnly box keeps when left (by default
// exactly one of its items).
struct CardLayout {
    std::span<const CardField> fields;
    std::span<const CardPlacement> placements;
    FieldTable record;
    QList<CardArea> areas;
    CardLook look;
    std::function<QStringList(const QString&)> listItems;
    std::function<void(QHBoxLayout* cell, QWidget* parent, const QString& control)> besideBox;
    std::function<bool(const CardField& field, const QString& text)> listAccepts;
};

// What the builder made, in table order: every control (hidden labels too), the caption of each
// (nullptr for hidden labels), and the check and e-mail pictures it put beside their boxes.
struct BuiltFields {
    QList<QWidget*> controls;
    QList<QLabel*> captions;
    QList<QToolButton*> checkButtons;
    // What Tab reaches among them, in reading order: each box, then the pictures beside it.
    QList<QWidget*> tabStops;
    EnterRing* ring = nullptr; // the boxes in table order; a screen may give one of them an action
};

// Builds every control of the field table where its placement says, in `screen` (which owns the Enter
// ring and the boxes' focus rules); the check pictures show their hints on `hints` (null for a table
// without such boxes, as the interval boxes).
BuiltFields buildCardFields(QWidget* screen, HintLine* hints, const CardLayout& layout);

} // namespace ombrisa
