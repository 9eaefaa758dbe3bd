#include "ui/reports/controltexts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace ombrisa {

report::FieldTexts controlTexts(const QWidget* screen) {
    report::FieldTexts texts;
    if (!screen)
        return texts;
    for (const QWidget* w : screen->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!name.startsWith(QLatin1String("txt")) && !name.startsWith(QLatin1String("lbl")))
            continue;
        if (const auto* edit = qobject_cast<const QLineEdit*>(w))
            texts.insert(name, edit->text());
        else if (const auto* combo = qobject_cast<const QComboBox*>(w))
            texts.insert(name, combo->currentText());
        else if (const auto* label = qobject_cast<const QLabel*>(w))
            texts.insert(name, label->text());
        else if (const auto* plain = qobject_cast<const QPlainTextEdit*>(w))
            texts.insert(name, plain->toPlainText());
        else if (const auto* rich = qobject_cast<const QTextEdit*>(w))
            texts.insert(name, rich->toPlainText());
    }
    return texts;
}

} // namespace ombrisa
