// ombrisa-a11y-screens: shows the program's screens one at a time, as the program builds them, for an
// accessibility client (accessibility_check.py) to read over AT-SPI. Not part of the product.
//
// On standard output: "SCREEN <name> <window title>" once a screen is shown and settled; the client then
// reads the tree and answers on standard input with one line:
//   next             close this screen and show the next one ("END" after the last)
//   focus <object>   give the keyboard focus to the control named <object>; answers "DONE"
//   tab <n>          press Tab n times on the focused control, settling after each; answers "DONE"
//   click <object>   click the button named <object>; answers "DONE"

#include "core/import/importplan.h"
#include "core/records/archivepaths.h"
#include "core/storage/appfolder.h"
#include "ui/app/avvio.h"
#include "ui/app/password.h"
#include "ui/calls/Chiamate.h"
#include "ui/clients/Clienti.h"
#include "ui/common/conventions.h"
#include "ui/import/Importa.h"
#include "ui/search/Trova.h"
#include "ui/stats/Statistiche.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace ombrisa;

namespace {

struct ScreenMaker {
    const char* name;
    std::function<QWidget*()> make;
};

void say(const QString& line) {
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void settle(int ms) {
    QTest::qWait(ms);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    setupApplication(app);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 2;
    setAppFolderOverride(folder.path());
    // An empty client archive: the search finds nothing, and says so.
    QFile archive(appPath(kClientiFile));
    if (!archive.open(QIODevice::WriteOnly))
        return 2;
    archive.close();

    const std::vector<ScreenMaker> screens{
        {"password", [] { return new TfrmPassword; }},
        {"avvio", [] { return new TfrmAvvio; }},
        {"clienti", [] { return new TfrmClienti(nullptr); }},
        {"chiamate", [] { return new TfrmChiamate(nullptr); }},
        {"trova", [] { return new TfrmTrovaClienti(nullptr); }},
        {"statistiche", [] { return new TfrmStatistiche(nullptr); }},
        {"importa", [] { return new TfrmImporta(nullptr, ImportArchive::Clienti); }},
    };
    std::size_t next = 0;
    std::unique_ptr<QWidget> current;

    const auto showNext = [&] {
        if (current) {
            current->hide();
            current.reset();
        }
        if (next == screens.size()) {
            say(QStringLiteral("END"));
            QTimer::singleShot(0, &app, &QApplication::quit);
            return;
        }
        const ScreenMaker& s = screens[next++];
        current.reset(s.make());
        current->resize(1366, 740);
        current->show();
        current->activateWindow();
        settle(1500); // shown, laid out and registered with the accessibility bus
        say(QStringLiteral("SCREEN %1 %2").arg(QLatin1String(s.name), current->windowTitle().trimmed()));
    };

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer - 1);
        if (n <= 0) {
            app.quit();
            return;
        }
        buffer[n] = '\0';
        const QStringList lines = QString::fromUtf8(buffer).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            const QStringList words = line.trimmed().split(QLatin1Char(' '));
            if (words[0] == QLatin1String("next")) {
                showNext();
            } else if (words[0] == QLatin1String("focus") && words.size() == 2 && current) {
                if (auto* w = current->findChild<QWidget*>(words[1]))
                    w->setFocus(Qt::TabFocusReason);
                settle(700);
                say(QStringLiteral("DONE"));
            } else if (words[0] == QLatin1String("click") && words.size() == 2 && current) {
                if (auto* b = current->findChild<QAbstractButton*>(words[1]))
                    b->click();
                settle(700);
                say(QStringLiteral("DONE"));
            } else if (words[0] == QLatin1String("tab") && words.size() == 2) {
                for (int i = 0; i < words[1].toInt(); ++i) {
                    if (QWidget* focus = QApplication::focusWidget())
                        QTest::keyClick(focus, Qt::Key_Tab);
                    settle(700);
                }
                say(QStringLiteral("DONE"));
            }
        }
    });
    QTimer::singleShot(0, &app, showNext);
    return app.exec();
}
