#pragma once

// The card navigator's glue to a card screen's widgets.
//
// A card screen creates one CardBinding over its position label and its record's field table, binds
// every control to its field (bindText for edit boxes, editable combo boxes and hidden labels, bindCheck
// for check boxes stored as two fixed words), names the controls that a duplicate empties, and hands
// the binding to a CardNavigator together with the screen's CardRules (core/cards/cardnavigator.h):
//
//     binding_ = std::make_unique<CardBinding>(this, lblPosizione, kClienteFields);
//     binding_->bindText(txtCliente, "Cliente");                 // ... one per field, from a table
//     binding_->bindCheck(chkRicontatta, "Ricontatta", "Sì", "No");
//     binding_->emptyOnDuplicate(lblFile01);                     // ... attachments
//     navigator_ = std::make_unique<CardNavigator>(clientCardRules(), *binding_);
//     connect(cmdSalva, &QToolButton::clicked, this, [this] { navigator_->save(); });
//
// Screens with more to do set the hooks: afterLoad (after the fields are loaded), afterShow (once the
// card's number is shown: the agent's photo), afterSave (after a save, before its message: the agent's
// photo file), onClear (the call card's defaults; false reports an archive failure), onDuplicate (dates
// to empty), saveChecks (a valid date).
// Messages go through the program's message service, with the screen as parent.

#include "core/cards/cardnavigator.h"
#include "core/records/fieldtable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QCheckBox;
class QLabel;
class QWidget;

namespace ombrisa {

// The text a control shows: QLineEdit, QComboBox (its edit text), QLabel, QPlainTextEdit, QTextEdit,
// QAbstractButton. Empty for anything else.
QString controlTextOf(const QWidget* control);
// Sets it; an editable combo box selects the item that equals the text (or none) and shows the text.
void setControlText(QWidget* control, const QString& text);
// Empties it; a combo box also loses its list selection, a check box is cleared.
void clearControl(QWidget* control);

class CardBinding : public CardView {
public:
    CardBinding(QWidget* screen, QLabel* lblPosizione, FieldTable fields);

    // `field` is a name of the field table; an unknown name is a programming error (asserted).
    void bindText(QWidget* control, const char* field);
    // Stored as `on` when ticked and `off` when not; reading any other word leaves the box as it was.
    void bindCheck(QCheckBox* box, const char* field, const QString& on, const QString& off);
    void emptyOnDuplicate(QWidget* control);

    std::function<void()> afterLoad;
    std::function<void()> afterShow;
    std::function<void()> afterSave;
    std::function<bool()> onClear;
    std::function<void()> onDuplicate;
    std::function<bool()> saveChecks;

    // CardView
    QString position() const override;
    void setPosition(const QString& text) override;
    void loadCard(const void* record) override;
    void cardShown() override;
    void cardSaved() override;
    void fillRecord(void* record) override;
    bool clearCard() override;
    void clearForDuplicate() override;
    QString controlText(const QString& control) const override;
    void focusControl(const QString& control) override;
    bool extraSaveChecks() override;
    void showMessage(CardMessageKind kind, const QString& text) override;
    bool askQuestion(const QString& text) override;

    // Whether any bound control differs from what it showed when the card was last loaded, saved or
    // emptied for a new one (what a close would lose).
    bool differsFromShown() const;
    // How many saves have written a card.
    int saves() const { return saves_; }

private:
    struct Binding {
        QWidget* control;
        const FieldDef* field;
        QCheckBox* check = nullptr;
        QString on, off;
    };
    const FieldDef* fieldNamed(const char* name) const;
    QWidget* controlNamed(const QString& name) const;

    QWidget* screen_;
    QLabel* position_;
    FieldTable fields_;
    QList<Binding> bindings_;
    QList<QWidget*> duplicateEmpties_;
    QStringList shownTexts() const;
    QStringList shown_; // the controls' texts as loaded, saved or emptied
    int saves_ = 0;
};

} // namespace ombrisa
