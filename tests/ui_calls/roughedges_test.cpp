// What a new user trips over on the call card: a passing mouse wheel over its lists, and boxes too
// narrow for the answers they hold.

#include "ui/calls/Chiamate.h"
#include "uisupport/fakes.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

using namespace ombrisa;
using ombrisa::test::UiTest;

namespace {

class CallRoughEdges : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        screen = std::make_unique<TfrmChiamate>();
        screen->showNormal();
        screen->resize(1366, 700);
        QApplication::setActiveWindow(screen.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    }
    void TearDown() override {
        screen.reset();
        UiTest::TearDown();
    }
    static void turnWheel(QWidget* widget, int notches) {
        const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
    }
    std::unique_ptr<TfrmChiamate> screen;
};

} // namespace

// A stored call's date and time must not change under a mouse on its way elsewhere.
TEST_F(CallRoughEdges, TheListsTakeTheWheelOnlyWithTheFocus) {
    for (QComboBox* list :
         {screen->txtGiornoRit, screen->txtMeseRit, screen->txtOreRit, screen->txtMinutiRit, screen->txtTipo}) {
        SCOPED_TRACE(list->objectName().toStdString());
        list->setCurrentIndex(3);
        const QString before = list->currentText();
        screen->txtOggetto->setFocus(Qt::OtherFocusReason);
        ASSERT_FALSE(list->hasFocus());
        turnWheel(list, -2);
        turnWheel(list->lineEdit(), 1);
        EXPECT_EQ(list->currentText(), before);

        list->setFocus(Qt::OtherFocusReason);
        turnWheel(list, -1);
        EXPECT_NE(list->currentText(), before);
    }
}

TEST_F(CallRoughEdges, TheSatisfactionBoxShowsTheLongestUsualAnswerWhole) {
    auto* grado = screen->findChild<QLineEdit*>(QStringLiteral("txtGrado"));
    ASSERT_NE(grado, nullptr);
    const QString answer = QStringLiteral("Abbastanza soddisfatto");
    grado->setText(answer);
    const int room = grado->contentsRect().width() - grado->textMargins().left() - grado->textMargins().right() - 8;
    EXPECT_LE(grado->fontMetrics().horizontalAdvance(answer), room);
}
