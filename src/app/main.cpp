// Ombrisa: program entry. Creates the program's screens once, in order, and runs the event loop.

#include "ui/agents/Dipendenti.h"
#include "ui/app/avvio.h"
#include "ui/app/datafolderstart.h"
#include "ui/app/cambiapassword.h"
#include "ui/app/password.h"
#include "ui/calls/Chiamate.h"
#include "ui/clients/Clienti.h"
#include "ui/common/application.h"
#include "ui/common/conventions.h"
#include "ui/common/storagehooks.h"
#include "ui/common/workareas.h"
#include "ui/hours/MenuRiepStraordinari.h"
#include "ui/app/startupcheck.h"
#include "ui/common/services.h"
#include "core/storage/datafolder.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QSettings>

#include <memory>

using namespace ombrisa;

int main(int argc, char** argv) {
    // The user interface draws without the graphics hardware.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    OmbrisaApplication app(argc, argv);
    setupApplication(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("it.ombrisa.Ombrisa")); // the menu entry and its icon
    installStorageHooks();
    // The program ends by the exit of the password screen or of the start menu, not because the last
    // visible window went away while one screen replaces another.
    QApplication::setQuitOnLastWindowClosed(false);

    // The data folder: --data DIR, OMBRISA_DATA, a writable program folder, the last --data, the user's own.
    QCommandLineParser options;
    options.addHelpOption();
    const QCommandLineOption dataOption(QStringLiteral("data"), QStringLiteral("Cartella dei dati."),
                                        QStringLiteral("CARTELLA"));
    QCommandLineOption startupCheck(QStringLiteral("startup-check"));
    startupCheck.setFlags(QCommandLineOption::HiddenFromHelp);
    options.addOptions({dataOption, startupCheck});
    options.process(app);
    QSettings settings;
    if (!openDataFolder(options.value(dataOption), settings, [] {
            return QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Cartella dei dati"), QDir::homePath());
        }))
        return 1;

    // The screens, in the order of creation. The first is the main window. The help, information and
    // splash screens are created fresh by whoever opens them; the start menu at the first sign-in and the
    // work areas when first opened.
    auto frmPassword = std::make_unique<TfrmPassword>();
    auto frmCambiaPassword = std::make_unique<TfrmCambiaPassword>();
    // The start menu is made at the first sign-in: the password window does not wait for it.
    std::unique_ptr<TfrmAvvio> frmAvvio;
    frmPassword->setScreens(nullptr, frmCambiaPassword.get());
    frmPassword->setStartMenuProvider([&frmAvvio, &app] {
        frmAvvio = std::make_unique<TfrmAvvio>();
        QObject::connect(frmAvvio.get(), &TfrmAvvio::endRequested, &app, &QApplication::quit, Qt::QueuedConnection);
        return frmAvvio.get();
    });
    std::unique_ptr<TfrmClienti> clienti;
    std::unique_ptr<TfrmChiamate> chiamate;
    std::unique_ptr<TfrmDipendenti> dipendenti;
    std::unique_ptr<TfrmMenuRiepStraordinari> menuRiepStraordinari;

    // The work areas: each one's screen is registered for its tile of the start menu and created the
    // first time the tile is clicked (once per run), so the password window does not wait for them.
    registerWorkArea(1, createdOnFirstUse(clienti));       // client archive
    registerWorkArea(2, createdOnFirstUse(chiamate));     // call register
    registerWorkArea(3, createdOnFirstUse(dipendenti)); // agents and work
    registerWorkArea(4, createdOnFirstUse(menuRiepStraordinari)); // hours summary

    QObject::connect(frmPassword.get(), &TfrmPassword::endRequested, &app, &QApplication::quit, Qt::QueuedConnection);

    if (options.isSet(startupCheck))
        quitWhenFirstPainted(frmPassword.get());
    frmPassword->show();
    const int result = QApplication::exec();

    // The start menu goes first, so that no work area brings it back while the screens are destroyed.
    frmAvvio.reset();
    return result;
}
