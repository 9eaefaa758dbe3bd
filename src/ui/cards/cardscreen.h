#pragma once

// CardScreen: what every card screen is built with. A card screen gives its field table and placement
// table (core/cards/cardfield.h), the areas the placements point to, its look and its extras; the
// base builds the boxes, captions, check and e-mail pictures, hidden labels, Enter ring and tab order,
// the hint line and navigator bar, the record mapping and the navigator, and handles Nuovo, Salva,
// Duplica, Guida, Esci, the check pictures, the e-mail picture and showing the screen.
//
// Adding a card screen: derive from CardScreen; in the constructor call setupCard(), build the toolbar
// (the common commands are members here) and the areas, call buildFields() with the two tables, add
// the screen's extras, then finishCard() with the record's field table, the navigator's rules and the
// binding's hooks. Implement showHelp().

#include "core/cards/cardfield.h"
#include "core/cards/cardnavigator.h"
#include "core/cards/navigatorhints.h"
#include "core/records/fieldtable.h"
#include "ui/cards/cardparts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <span>

class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QToolButton;

namespace ombrisa {

class CardBinding;
class EnterRing;
class HintLine;
class NavigatorBar;

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

// What buildFields() needs: the two tables, the record's field table (for the capacities), the areas,
// the look, the items of ListOnly boxes by control name, an optional hook run on each placed box's cell (a
// screen's own picture beside a box), and which texts a ListOnly box keeps when left (by default exactly
// one of its items).
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

// What buildCardFields() made, in field table order.
struct BuiltFields {
    QList<QWidget*> controls; // every control, hidden labels included
    QList<QLabel*> captions;  // nullptr for hidden labels
    QList<QToolButton*> checkButtons;
    EnterRing* ring = nullptr; // the boxes in table order; a screen may give one of them an action
};

// Builds every control of the field table where its placement says, with its caption, filter, length
// limit, look and check picture, then the Enter ring and the tab order. Hidden labels belong to `owner`;
// `hints` takes the check pictures' hints (may be null for a table without such boxes). CardScreen builds
// its cards with it; a screen that is no card but shares their conventions (the interval boxes) too.
BuiltFields buildCardFields(QWidget* owner, HintLine* hints, const CardLayout& layout);

class CardScreen : public QWidget {
    Q_OBJECT
public:
    ~CardScreen() override;

    // A control of the field table (edit box, combo box or hidden label) by name, or nullptr.
    QWidget* field(const QString& name) const;
    CardNavigator& navigator() { return *navigator_; }

    QLabel* panInfo = nullptr;
    QLabel* lblPosizione = nullptr;
    // The commands every card has.
    QToolButton* cmdNuovo = nullptr;
    QToolButton* cmdDuplica = nullptr;
    QToolButton* cmdSalva = nullptr;
    QToolButton* cmdTrova = nullptr;
    QToolButton* cmdAnteprima = nullptr;
    QToolButton* cmdStampa = nullptr;
    QToolButton* cmdGuida = nullptr;
    QToolButton* cmdEsci = nullptr;
    // Navigator.
    QToolButton* cmdPrimo = nullptr;
    QToolButton* cmdIndietro = nullptr;
    QToolButton* cmdAvanti = nullptr;
    QToolButton* cmdUltimo = nullptr;
    // The pictures beside txtEmail, txtCodFisc, txtCarta, txtPartitaIva, txtIban (nullptr where the card
    // has no such box).
    QToolButton* btnEmail = nullptr;
    QToolButton* btnCodFisc = nullptr;
    QToolButton* btnCarta = nullptr;
    QToolButton* btnPartitaIva = nullptr;
    QToolButton* btnIban = nullptr;
    // The hidden attachment labels (addAttachmentLabels()).
    QLabel* lblFile01 = nullptr;
    QLabel* lblFile02 = nullptr;
    QLabel* lblFile03 = nullptr;
    QLabel* lblDesc01 = nullptr;
    QLabel* lblDesc02 = nullptr;
    QLabel* lblDesc03 = nullptr;

protected:
    explicit CardScreen(QWidget* parent);

    // Name, title and style sheet of the screen.
    void setupCard(const QString& name, const QString& title, const QString& styleSheet);
    // The band at the foot with the hint line (which exists from here on).
    HintBand makeBand(const QString& designHint);
    // The navigator bar in `parent`; its controls become the members above.
    NavigatorBar* makeNavigator(QWidget* parent, const NavigatorHints& hints = kNavigatorHints);
    HintLine& hints() { return *hintLine_; }

    // The frame of a card whose commands stand in a column at the right: the sections' area panSezioni
    // taking the spare width, `middle` when given (the agent's photo panel), the command column
    // panComandi, and at the foot the band with the hint line and the navigator.
    struct SideColumnFrame {
        QWidget* sections;
        QFrame* column;
        QFrame* band;
    };
    SideColumnFrame makeSideColumnFrame(const QString& designHint, const NavigatorHints& navigatorHints,
                                        const std::function<QWidget*()>& middle = {});

    // Builds every control of the field table where its placement says, with its caption, filter, length
    // limit, look and check picture, then the Enter ring and the tab order. Returns the caption of each
    // control in table order (nullptr for hidden labels).
    QList<QLabel*> buildFields(const CardLayout& layout);
    // The six hidden attachment labels, with their design texts; bound and emptied on duplicate.
    void addAttachmentLabels();

    // The record mapping and the navigator: every control of the field table is bound to its field, the
    // attachment labels too. `binding` may be a screen's own kind; its hooks are the screen's. Connects
    // the common commands and pictures and maximises the window.
    void finishCard(std::unique_ptr<CardBinding> binding, CardRules rules);
    CardBinding& binding() { return *binding_; }

    // What cmdSalva does: the navigator's save (a screen may do something first).
    virtual void saveCard();
    // What cmdGuida opens.
    virtual void showHelp() = 0;

    void showEvent(QShowEvent* event) override;

private:
    void openCheck(QToolButton* button);

    HintLine* hintLine_ = nullptr; // owned by panInfo
    NavigatorBar* navigatorBar_ = nullptr;
    QList<QWidget*> fields_;
    std::span<const CardField> table_;
    QList<QLabel*> attachments_;
    std::unique_ptr<CardBinding> binding_;
    std::unique_ptr<CardNavigator> navigator_;
};

} // namespace ombrisa
