#include "ui/common/accessibility.h"

#include "ui/common/hintline.h"
#include "ui/common/picturebox.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTextDocumentFragment>
#include <QToolButton>

namespace ombrisa {
namespace {

const char* const kStatusProperty = "ombrisaStatus";
const char* const kCommandKeysProperty = "ombrisaCommandKeys";

// A clickable picture or a link: a button (or link) whose name is its accessible name (the hint, set by
// the screen) or its text, pressed by the reader's press action.
class PressableAccessible final : public QAccessibleWidget {
public:
    PressableAccessible(QWidget* w, QAccessible::Role role) : QAccessibleWidget(w, role) {}

    QString text(QAccessible::Text t) const override {
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty())
            if (const auto* label = qobject_cast<const QLabel*>(widget()))
                s = label->text();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (auto* picture = qobject_cast<PictureBox*>(widget()))
            picture->click();
        else if (auto* link = qobject_cast<LinkLabel*>(widget()))
            link->click();
    }
};

// A label marked as a status line: its text is its name, so that a change of it is news to read.
class StatusAccessible final : public QAccessibleWidget {
public:
    explicit StatusAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::StatusBar) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            const auto* label = static_cast<const QLabel*>(widget());
            return label->textFormat() == Qt::PlainText ? label->text()
                                                        : QTextDocumentFragment::fromHtml(label->text()).toPlainText();
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* programInterfaces(const QString& className, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w)
        return nullptr;
    if (className == QLatin1String("ombrisa::PictureBox")) {
        const bool button = w->focusPolicy() != Qt::NoFocus;
        return button ? static_cast<QAccessibleInterface*>(new PressableAccessible(w, QAccessible::Button))
                      : new QAccessibleWidget(w, QAccessible::Graphic);
    }
    if (className == QLatin1String("ombrisa::LinkLabel"))
        return new PressableAccessible(w, QAccessible::Link);
    if (className == QLatin1String("QLabel") && w->property(kStatusProperty).toBool())
        return new StatusAccessible(w);
    // A plain frame (a card's section, a panel of commands, the hint band) is a panel, never a window.
    if (className == QLatin1String("QFrame"))
        return new QAccessibleWidget(w, QAccessible::Grouping);
    return nullptr;
}

// Enter on a focused button presses it, as Space does (a QPushButton outside a dialog and a QToolButton
// take only Space). Command keys win over boxes that would take them as editing keys.
class KeyboardConventions final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (!w)
                return false;
            const auto* key = static_cast<QKeyEvent*>(event);
            const QVariantList keys = w->window()->property(kCommandKeysProperty).toList();
            if (keys.contains(QVariant(key->keyCombination().toCombined()))) {
                event->ignore(); // the window's command, not the box's editing key
                return true;
            }
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->isAutoRepeat())
            return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled())
            return false;
        if (!qobject_cast<QPushButton*>(button) && !qobject_cast<QToolButton*>(button))
            return false;
        button->click();
        return true;
    }
};

} // namespace

void installAccessibility(QApplication& app) {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(programInterfaces);
        installed = true;
    }
    app.installEventFilter(new KeyboardConventions(&app));
}

void markAsStatus(QLabel* label) {
    label->setProperty(kStatusProperty, true);
    // Setting the label's text made Qt build (and keep) its interface as a plain label: build it again.
    if (QAccessible::isActive())
        if (QAccessibleInterface* known = QAccessible::queryAccessibleInterface(label);
            known && known->role() != QAccessible::StatusBar)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
}

void announce(QLabel* label, const QString& text) {
    // A new text is announced by QLabel itself (a name-change event); the same text again is news too.
    const bool same = label->text() == text;
    label->setText(text);
    if (same && QAccessible::isActive()) {
        QAccessibleEvent event(label, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

QString keyText(const QKeySequence& key) {
    // Qt's Italian names are arrows for Home and End ("Ctrl+↖"), which a screen reader cannot say: the
    // names printed on Italian keyboards instead.
    QString text = key.toString(QKeySequence::PortableText);
    text.replace(QLatin1String("Shift"), QLatin1String("Maiusc"));
    text.replace(QLatin1String("PgUp"), QLatin1String("PgSu"));
    text.replace(QLatin1String("PgDown"), QStringLiteral("PgGiù"));
    text.replace(QLatin1String("End"), QLatin1String("Fine"));
    return text;
}

void addCommandKey(QAbstractButton* button, const QKeySequence& key) {
    QWidget* window = button->window();
    auto* shortcut = new QShortcut(key, button);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled() && button->isVisible())
            button->click();
    });
    QVariantList keys = window->property(kCommandKeysProperty).toList();
    keys.append(key[0].toCombined());
    window->setProperty(kCommandKeysProperty, keys);

    const QString added = QStringLiteral(" (") + keyText(key) + QLatin1Char(')');
    const QString hint = HintLine::hintOf(button);
    if (!hint.isEmpty())
        HintLine::replaceHint(button, hint + added);
    else
        button->setAccessibleDescription(button->accessibleDescription() + added);
}

void chainTabs(const QList<QWidget*>& order) {
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (!w || !(w->focusPolicy() & Qt::TabFocus))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QList<QWidget*> tabStopsIn(QWidget* area) {
    QList<QWidget*> stops;
    if (!area)
        return stops;
    if (area->isHidden())
        return stops;
    if (area->focusPolicy() & Qt::TabFocus) {
        stops.append(area); // a box's own parts (a combo box's line edit) are not stops of their own
        return stops;
    }
    for (QObject* child : area->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
            stops.append(tabStopsIn(w));
    return stops;
}

} // namespace ombrisa
