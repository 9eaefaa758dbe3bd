// Ombrisa: program entry. Creates the program's screens once, in order, and runs the event loop.

#include "ui/agents/Dipendenti.h"
#include "ui/app/avvio.h"
#include "ui/app/cambiapassword.h"
#include "ui/app/password.h"
#include "ui/calls/Chiamate.h"
#include "ui/clients/Clienti.h"
#include "ui/common/application.h"
#include "ui/common/conventions.h"
#include "ui/common/workareas.h"

#include <memory>

using namespace ombrisa;

int main(int argc, char** argv) {
    // The user interface draws without the graphics hardware.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    OmbrisaApplication app(argc, argv);
    setupApplication(app);
    // The program ends by the exit of the password screen or of the start menu, not because the last
    // visible window went away while one screen replaces another.
    QApplication::setQuitOnLastWindowClosed(false);

    // The screens, in the order of creation. The first is the main window. The help, information and
    // splash screens are created fresh by whoever opens them.
    auto frmPassword = std::make_unique<TfrmPassword>();
    auto frmAvvio = std::make_unique<TfrmAvvio>();
    auto frmCambiaPassword = std::make_unique<TfrmCambiaPassword>();
    frmPassword->setScreens(frmAvvio.get(), frmCambiaPassword.get());
    auto clienti = std::make_unique<TfrmClienti>();
    auto chiamate = std::make_unique<TfrmChiamate>();
    auto dipendenti = std::make_unique<TfrmDipendenti>();

    // The work areas: each one's screen is created here and registered for its tile of the start menu.
    registerWorkArea(1, [&] { return clienti.get(); });    // client archive
    registerWorkArea(2, [&] { return chiamate.get(); });   // call register
    registerWorkArea(3, [&] { return dipendenti.get(); }); // agents and work
    //   registerWorkArea(4, [&] { return frmMenuRiepStraordinari.get(); });   // hours summary

    QObject::connect(frmPassword.get(), &TfrmPassword::endRequested, &app, &QApplication::quit, Qt::QueuedConnection);
    QObject::connect(frmAvvio.get(), &TfrmAvvio::endRequested, &app, &QApplication::quit, Qt::QueuedConnection);

    frmPassword->show();
    const int result = QApplication::exec();

    // The start menu goes first, so that no work area brings it back while the screens are destroyed.
    frmAvvio.reset();
    return result;
}
