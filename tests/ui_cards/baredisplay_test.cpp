// A card screen opened from the start menu shows which box has the keyboard at once, also on a display
// without a window manager, where no one but the program gives a window the keyboard. The offscreen
// platform activates every window it shows, so the check runs this program again on a private X server
// (xvfb-run, the xcb platform): the case named BareDisplayRun does the work there and is skipped
// anywhere else.

#include "ui/agents/Dipendenti.h"
#include "ui/app/avvio.h"
#include "ui/calls/Chiamate.h"
#include "ui/clients/Clienti.h"
#include "ui/common/workareas.h"
#include "uisupport/fakes.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <functional>
#include <memory>

using namespace ombrisa;

namespace {

const char* const kChildVariable = "OMBRISA_BARE_DISPLAY_RUN";

struct Card {
    const char* name;
    std::function<std::unique_ptr<CardScreen>()> make;
    int tile;
    const char* firstBox; // the box that has the keyboard on a new card
    const char* frame;    // its yellow frame (empty: the box colours its own background)
};
const Card kStartMenuCards[] = {
    {"Clienti", [] { return std::make_unique<TfrmClienti>(); }, 1, "txtCliente", "effCliente"},
    {"Chiamate", [] { return std::make_unique<TfrmChiamate>(); }, 2, "txtOggetto", "effOggetto"},
    {"Dipendenti", [] { return std::make_unique<TfrmDipendenti>(); }, 3, "txtDipendente", ""},
};

class BareDisplayRun : public test::UiTest {};

// Runs on the private X server only: each card opened from the start menu is the active window, its first
// box has the keyboard and, on the cards that have one, its frame shows; a typed letter lands there.
TEST_F(BareDisplayRun, EachCardFromTheStartMenuShowsTheBoxWithTheKeyboard) {
    if (!qEnvironmentVariableIsSet(kChildVariable))
        GTEST_SKIP() << "runs only on the private X server of the next case";
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    for (const Card& c : kStartMenuCards) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CardScreen> screen = c.make();
        registerWorkArea(c.tile, [&screen] { return screen.get(); });
        struct Unregister {
            int tile;
            ~Unregister() { registerWorkArea(tile, {}); }
        } unregister{c.tile};
        TfrmAvvio avvio;
        avvio.show();
        avvio.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&avvio, 5000));

        QTest::mouseClick(avvio.btnApp[c.tile - 1], Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get(), 5000));
        auto* box = screen->findChild<QWidget*>(QString::fromLatin1(c.firstBox));
        ASSERT_NE(box, nullptr);
        // Give the X server its time; the frame must come without a click.
        QTest::qWait(300);
        EXPECT_TRUE(QTest::qWaitFor([&] { return screen->isActiveWindow(); }, 3000));
        QWidget* keyboard = QApplication::focusWidget();
        if (keyboard && qobject_cast<QComboBox*>(keyboard->parentWidget()))
            keyboard = keyboard->parentWidget();
        EXPECT_EQ(keyboard, box);
        if (*c.frame) {
            auto* frame = screen->findChild<QWidget*>(QString::fromLatin1(c.frame));
            ASSERT_NE(frame, nullptr);
            EXPECT_TRUE(frame->isVisible());
        }
        screen->close();
        QTest::qWait(50);
    }
}

// Starts the case above on a private X server with no window manager, and passes when it passes there.
TEST(BareDisplay, ACardFromTheStartMenuShowsItsFocusFrameWithoutAWindowManager) {
    if (qEnvironmentVariableIsSet(kChildVariable))
        GTEST_SKIP() << "already on the private X server";
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed (scripts/deps.sh installs it)";
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1366x768x24"),
                        QCoreApplication::applicationFilePath(), QStringLiteral("--gtest_filter=BareDisplayRun.*")});
    ASSERT_TRUE(run.waitForStarted(10000));
    if (!run.waitForFinished(90000)) {
        run.kill();
        run.waitForFinished(5000);
        FAIL() << "the run on the private X server did not end";
    }
    const QString output = QString::fromLocal8Bit(run.readAll());
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

} // namespace
