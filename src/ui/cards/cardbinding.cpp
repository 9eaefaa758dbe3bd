#include "ui/cards/cardbinding.h"

#include "ui/common/services.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace ombrisa {

QString controlTextOf(const QWidget* control) {
    if (const auto* e = qobject_cast<const QLineEdit*>(control))
        return e->text();
    if (const auto* c = qobject_cast<const QComboBox*>(control))
        return c->currentText();
    if (const auto* l = qobject_cast<const QLabel*>(control))
        return l->text();
    if (const auto* p = qobject_cast<const QPlainTextEdit*>(control))
        return p->toPlainText();
    if (const auto* t = qobject_cast<const QTextEdit*>(control))
        return t->toPlainText();
    if (const auto* b = qobject_cast<const QAbstractButton*>(control))
        return b->text();
    return {};
}

void setControlText(QWidget* control, const QString& text) {
    if (auto* e = qobject_cast<QLineEdit*>(control)) {
        e->setText(text);
        e->setCursorPosition(0);
    } else if (auto* c = qobject_cast<QComboBox*>(control)) {
        c->setCurrentIndex(c->findText(text, Qt::MatchExactly));
        if (c->isEditable())
            c->setEditText(text);
    } else if (auto* l = qobject_cast<QLabel*>(control)) {
        l->setText(text);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(control)) {
        p->setPlainText(text);
    } else if (auto* t = qobject_cast<QTextEdit*>(control)) {
        t->setPlainText(text);
    }
}

void clearControl(QWidget* control) {
    if (auto* c = qobject_cast<QComboBox*>(control)) {
        c->setCurrentIndex(-1);
        if (c->isEditable())
            c->clearEditText();
    } else if (auto* b = qobject_cast<QCheckBox*>(control)) {
        b->setChecked(false);
    } else {
        setControlText(control, QString());
    }
}

CardBinding::CardBinding(QWidget* screen, QLabel* lblPosizione, FieldTable fields)
    : screen_(screen), position_(lblPosizione), fields_(fields) {}

const FieldDef* CardBinding::fieldNamed(const char* name) const {
    const int i = fieldIndex(fields_, QString::fromLatin1(name));
    Q_ASSERT_X(i >= 0, "CardBinding", name);
    return i >= 0 ? &fields_[static_cast<std::size_t>(i)] : nullptr;
}

void CardBinding::bindText(QWidget* control, const char* field) {
    if (const FieldDef* f = fieldNamed(field))
        bindings_.append({control, f, nullptr, QString(), QString()});
}

void CardBinding::bindCheck(QCheckBox* box, const char* field, const QString& on, const QString& off) {
    if (const FieldDef* f = fieldNamed(field))
        bindings_.append({box, f, box, on, off});
}

void CardBinding::emptyOnDuplicate(QWidget* control) {
    duplicateEmpties_.append(control);
}

QString CardBinding::position() const {
    return position_->text();
}
void CardBinding::setPosition(const QString& text) {
    position_->setText(text);
}

void CardBinding::loadCard(const void* record) {
    for (const Binding& b : bindings_) {
        const QString text = GetText(record, *b.field);
        if (b.check) {
            if (text == b.on)
                b.check->setChecked(true);
            else if (text == b.off)
                b.check->setChecked(false);
        } else {
            setControlText(b.control, text);
        }
    }
    if (afterLoad)
        afterLoad();
}

void CardBinding::cardShown() {
    if (afterShow)
        afterShow();
    shown_ = shownTexts();
}

void CardBinding::cardSaved() {
    if (afterSave)
        afterSave();
    shown_ = shownTexts();
    ++saves_;
}

QStringList CardBinding::shownTexts() const {
    QStringList texts;
    texts.reserve(bindings_.size());
    for (const Binding& b : bindings_)
        texts.append(b.check ? (b.check->isChecked() ? b.on : b.off) : controlTextOf(b.control));
    return texts;
}

bool CardBinding::differsFromShown() const {
    return !shown_.isEmpty() && shownTexts() != shown_;
}

void CardBinding::fillRecord(void* record) {
    for (const Binding& b : bindings_)
        PutText(record, *b.field, b.check ? (b.check->isChecked() ? b.on : b.off) : controlTextOf(b.control));
}

bool CardBinding::clearCard() {
    for (const Binding& b : bindings_)
        clearControl(b.control);
    const bool cleared = onClear ? onClear() : true;
    shown_ = shownTexts();
    return cleared;
}

void CardBinding::clearForDuplicate() {
    for (QWidget* w : duplicateEmpties_)
        clearControl(w);
    if (onDuplicate)
        onDuplicate();
}

QWidget* CardBinding::controlNamed(const QString& name) const {
    for (const Binding& b : bindings_)
        if (b.control->objectName() == name)
            return b.control;
    return screen_->findChild<QWidget*>(name);
}

QString CardBinding::controlText(const QString& control) const {
    return controlTextOf(controlNamed(control));
}

void CardBinding::focusControl(const QString& control) {
    if (QWidget* w = controlNamed(control))
        w->setFocus(Qt::OtherFocusReason);
}

bool CardBinding::extraSaveChecks() {
    return saveChecks ? saveChecks() : true;
}

void CardBinding::showMessage(CardMessageKind kind, const QString& text) {
    switch (kind) {
    case CardMessageKind::Information:
        showInformation(screen_, text);
        break;
    case CardMessageKind::Warning:
        showWarning(screen_, text);
        break;
    case CardMessageKind::Error:
        showError(screen_, text);
        break;
    }
}

bool CardBinding::askQuestion(const QString& text) {
    return confirm(screen_, text);
}

} // namespace ombrisa
