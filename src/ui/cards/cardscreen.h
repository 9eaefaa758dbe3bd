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
#include "ui/cards/fieldbuilder.h"

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
class HintLine;
class NavigatorBar;

class CardScreen : public QWidget {
    Q_OBJECT
public:
    ~CardScreen() override;

    // A control of the field table (edit box, combo box or hidden label) by name, or nullptr.
    QWidget* field(const QString& name) const;
    // Whether the boxes differ from the card as it was last loaded, saved or emptied for a new one.
    bool hasUnsavedChanges() const;
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
    // Tab in reading order: the tab stops of the areas `before` (a toolbar at the top), the boxes of the
    // field table with the pictures beside each (fieldTabStops, which a screen may extend), what else
    // `sections` holds, then the areas `after` (the command column, the navigator band).
    void orderTabs(const QList<QWidget*>& before, QWidget* sections, const QList<QWidget*>& after);
    QList<QWidget*> fieldTabStops;

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
    // A card whose boxes differ from the stored card asks kSaveChangesQuestion: Sì saves (a save that
    // does not happen keeps the screen open), No closes without saving, Annulla keeps the screen open.
    void closeEvent(QCloseEvent* event) override;

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
