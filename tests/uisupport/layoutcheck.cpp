#include "layoutcheck.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

namespace ombrisa::test {

QRect onScreen(const QWidget* w, const QWidget* window) {
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

QList<QWidget*> layoutControls(const QWidget* screen, const QStringList& prefixes, const QStringList& names) {
    QList<QWidget*> controls;
    for (QWidget* w : screen->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->size().isEmpty()) // shown at no size: a focus holder nobody sees
            continue;
        const QString n = w->objectName();
        const bool named = names.contains(n) || std::any_of(prefixes.begin(), prefixes.end(),
                                                            [&n](const QString& p) { return n.startsWith(p); });
        if (named || (qobject_cast<QLabel*>(w) && w->property("caption").toBool()))
            controls.append(w);
    }
    return controls;
}

void expectFitsWithoutOverlap(const QWidget* screen, const QList<QWidget*>& controls) {
    const QRect window = screen->rect();
    for (const QWidget* w : controls) {
        const std::string name = w->objectName().toStdString();
        EXPECT_TRUE(window.contains(onScreen(w, screen))) << "outside the window: " << name;
        if (auto* l = qobject_cast<const QLabel*>(w); l && l->property("caption").toBool()) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << "caption cut: " << l->text().toStdString();
        }
        if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
            EXPECT_GE(b->width(), b->sizeHint().width()) << "button cut: " << name;
        }
        if (auto* c = qobject_cast<const QComboBox*>(w)) {
            EXPECT_GE(c->width(), c->minimumSizeHint().width()) << "list cut: " << name;
        }
        EXPECT_GE(w->height(), w->minimumSizeHint().height()) << "too low: " << name;
    }
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            if (controls[i]->isAncestorOf(controls[j]) || controls[j]->isAncestorOf(controls[i]))
                continue;
            EXPECT_FALSE(onScreen(controls[i], screen).intersects(onScreen(controls[j], screen)))
                << controls[i]->objectName().toStdString() << " / " << controls[j]->objectName().toStdString();
        }
}

} // namespace ombrisa::test
