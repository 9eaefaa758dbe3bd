// The client card laid out at the two screen sizes the program is used at: every caption whole, no two
// controls overlapping, everything inside the window. With OMBRISA_SHOTS set, the card is also saved
// as a picture in that folder to be looked at.
#include "clients/Clienti.h"
#include "uisupport/fakes.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <gtest/gtest.h>

using namespace ombrisa;

namespace {

QRect onScreen(const QWidget* w, const QWidget* window) {
    return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

class ClientLayout : public ::testing::TestWithParam<QSize> {};

TEST_P(ClientLayout, EverythingFitsAndNothingOverlaps) {
    TfrmClienti screen;
    screen.setWindowState(Qt::WindowNoState);
    screen.resize(GetParam());
    screen.show();
    QCoreApplication::processEvents();
    for (QWidget* w : screen.findChildren<QWidget*>())
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->setText(QString(e->maxLength() > 60 ? 60 : e->maxLength(), QLatin1Char('W')));
    if (auto* chk = screen.findChild<QCheckBox*>(QStringLiteral("chkRicontatta")))
        chk->setChecked(true);

    QList<QWidget*> visible;
    for (QWidget* w : screen.findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        const QString n = w->objectName();
        if (n.startsWith(QLatin1String("txt")) || n.startsWith(QLatin1String("cmd")) ||
            n.startsWith(QLatin1String("btn")) || n.startsWith(QLatin1String("chk")) ||
            n.startsWith(QLatin1String("img")) || n == QLatin1String("lblPosizione") || n == QLatin1String("panInfo") ||
            (qobject_cast<QLabel*>(w) && w->property("caption").toBool()))
            visible.append(w);
    }
    ASSERT_GT(visible.size(), 60);
    const QRect window = screen.rect();
    for (QWidget* w : visible) {
        const QRect r = onScreen(w, &screen);
        EXPECT_TRUE(window.contains(r)) << w->objectName().toStdString();
        if (auto* l = qobject_cast<QLabel*>(w); l && l->property("caption").toBool()) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << "caption cut: " << l->text().toStdString();
        }
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_GE(b->width(), b->sizeHint().width()) << "button cut: " << w->objectName().toStdString();
        }
        EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString();
    }
    for (qsizetype i = 0; i < visible.size(); ++i)
        for (qsizetype j = i + 1; j < visible.size(); ++j) {
            if (visible[i]->isAncestorOf(visible[j]) || visible[j]->isAncestorOf(visible[i]))
                continue;
            EXPECT_FALSE(onScreen(visible[i], &screen).intersects(onScreen(visible[j], &screen)))
                << visible[i]->objectName().toStdString() << " / " << visible[j]->objectName().toStdString();
        }

    const QString shots = qEnvironmentVariable("OMBRISA_SHOTS");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        screen.grab().save(
            QDir(shots).filePath(QStringLiteral("clienti_%1x%2.png").arg(GetParam().width()).arg(GetParam().height())));
    }
}

// The window's inside when maximised on the two screens (title bar and task bar taken off).
INSTANTIATE_TEST_SUITE_P(Screens, ClientLayout, ::testing::Values(QSize(1366, 700), QSize(1920, 1017)));

} // namespace
