#include "ui/common/keyfilters.h"

#include "core/storage/textfield.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

namespace ombrisa {
namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// Editable combo boxes pass their keys to their line edit: watch both.
void watch(QWidget* box, QObject* filter) {
    box->installEventFilter(filter);
    if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(filter);
}

class DigitOnlyFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!allowed(key))
            return true;
        if (isDigitKey(key))
            sayWhenFull(editOf(watched));
        return false;
    }

private:
    static bool isDigitKey(const QKeyEvent* key) {
        const QString text = key->text();
        return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
    }

    static QLineEdit* editOf(QObject* watched) {
        if (auto* combo = qobject_cast<QComboBox*>(watched))
            return combo->lineEdit();
        return qobject_cast<QLineEdit*>(watched);
    }

    // A digit typed into a full box is dropped by the box itself; the user is told why, beside it.
    static void sayWhenFull(QLineEdit* edit) {
        if (!edit || edit->isReadOnly() || edit->hasSelectedText() || edit->text().size() < edit->maxLength())
            return;
        QApplication::beep();
        QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), kFullDigitBoxHint, edit);
    }

    static bool allowed(const QKeyEvent* key) {
        switch (key->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return true;
        default:
            break;
        }
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        return isDigitKey(key);
    }
};

void replaceText(QLineEdit* box, TypingFilter filter) {
    const QString before = box->text();
    const QString after = applyTypingFilter(filter, before);
    if (after == before)
        return;
    // Keep the cursor where it was, less what was removed in front of it.
    int cursor = box->cursorPosition();
    if (filter != TypingFilter::Upper) {
        qsizetype removedInFront = 0;
        while (removedInFront < before.size() && before.at(removedInFront).unicode() <= 32)
            ++removedInFront;
        cursor -= static_cast<int>(std::min<qsizetype>(removedInFront, cursor));
    }
    box->setText(after);
    box->setCursorPosition(std::min(cursor, static_cast<int>(after.size())));
}

class KeyReleaseFilter final : public QObject {
public:
    KeyReleaseFilter(QLineEdit* box, TypingFilter filter) : QObject(box), box_(box), filter_(filter) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease)
            replaceText(box_, filter_);
        return false;
    }

private:
    QLineEdit* box_;
    TypingFilter filter_;
};

} // namespace

EnterRing::EnterRing(const QList<QWidget*>& order, QObject* parent)
    : QObject(parent ? parent : (order.isEmpty() ? nullptr : static_cast<QObject*>(order.first()->parentWidget()))),
      order_(order) {
    for (QWidget* box : order_)
        watch(box, this);
}

void EnterRing::setAction(QWidget* box, std::function<void()> action) {
    actions_.append({box, std::move(action)});
}

QWidget* EnterRing::next(QWidget* box) const {
    const auto i = order_.indexOf(box);
    if (i < 0 || order_.isEmpty())
        return nullptr;
    return order_.at((i + 1) % order_.size());
}

QWidget* EnterRing::boxOf(QObject* watched) const {
    for (QWidget* box : order_) {
        if (watched == box)
            return box;
        if (auto* combo = qobject_cast<QComboBox*>(box); combo && watched == combo->lineEdit())
            return box;
    }
    return nullptr;
}

bool EnterRing::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !isEnter(static_cast<QKeyEvent*>(event)))
        return false;
    QWidget* box = boxOf(watched);
    if (!box)
        return false;
    for (const auto& [target, action] : actions_) {
        if (target == box) {
            action();
            return true;
        }
    }
    if (QWidget* to = next(box))
        to->setFocus(Qt::TabFocusReason);
    return true;
}

void installDigitOnlyFilter(QWidget* box) {
    if (!box)
        return;
    watch(box, new DigitOnlyFilter(box));
    // What arrives without a key press (the context menu's Paste) keeps only its digits; drops are refused.
    auto* edit = qobject_cast<QLineEdit*>(box);
    if (auto* combo = qobject_cast<QComboBox*>(box))
        edit = combo->lineEdit();
    if (!edit)
        return;
    edit->setAcceptDrops(false);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
        if (std::all_of(text.begin(), text.end(), isDigit))
            return;
        const int cursor = edit->cursorPosition();
        QString digits;
        int digitsBeforeCursor = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!isDigit(text.at(i)))
                continue;
            digits.append(text.at(i));
            if (i < cursor)
                ++digitsBeforeCursor;
        }
        edit->setText(digits);
        edit->setCursorPosition(digitsBeforeCursor);
    });
}

QString applyTypingFilter(TypingFilter filter, QStringView text) {
    switch (filter) {
    case TypingFilter::TrimUpper:
        return trimText(text).toUpper();
    case TypingFilter::Upper:
        return text.toString().toUpper();
    case TypingFilter::Trim:
        return trimText(text);
    }
    return text.toString();
}

void installTypingFilter(QLineEdit* box, TypingFilter filter) {
    if (!box)
        return;
    QObject::connect(box, &QLineEdit::textEdited, box, [box, filter] { replaceText(box, filter); });
}

void installTypingFilter(QComboBox* box, TypingFilter filter) {
    if (box && box->lineEdit())
        installTypingFilter(box->lineEdit(), filter);
}

void installTypingFilterOnKeyRelease(QLineEdit* box, TypingFilter filter) {
    if (box)
        box->installEventFilter(new KeyReleaseFilter(box, filter));
}

} // namespace ombrisa
