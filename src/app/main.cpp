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
#include "ui/phone/callargument.h"
#include "ui/phone/callchannel.h"
#include "ui/phone/incomingcall.h"
#include "ui/app/startupcheck.h"
#include "ui/common/services.h"
#include "core/storage/appfolder.h"
#include "core/storage/datafolder.h"
#include "core/storage/presence.h"
#include "core/version.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QSettings>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <memory>

using namespace ombrisa;

namespace {

const QCommandLineOption& dataOption() {
    static const QCommandLineOption option(QStringLiteral("data"), QStringLiteral("Cartella dei dati."),
                                           QStringLiteral("CARTELLA"));
    return option;
}

// Qt's own --help is described in English: this one says the same in Italian.
const QCommandLineOption& helpOption() {
    static const QCommandLineOption option(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                           QStringLiteral("Mostra queste informazioni ed esce."));
    return option;
}

const QCommandLineOption& startupCheckOption() {
    static const QCommandLineOption option = [] {
        QCommandLineOption o(QStringLiteral("startup-check"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        return o;
    }();
    return option;
}

const QCommandLineOption& callOption() {
    static const QCommandLineOption option(
        QStringLiteral("chiamata"),
        QStringLiteral("Chi sta chiamando: apre una nuova chiamata in entrata con il cliente che ha questo numero "
                       "(nella copia del programma già aperta, se c'è)."),
        QStringLiteral("NUMERO"));
    return option;
}

void describeOptions(QCommandLineParser& options) {
    options.setApplicationDescription(QStringLiteral("Archivio dei clienti, registro delle chiamate e lavoro degli agenti."));
    options.addOption(helpOption());
    options.addVersionOption();
    options.addOptions({dataOption(), callOption(), startupCheckOption()});
    options.addPositionalArgument(QStringLiteral("tel:NUMERO"),
                                  QStringLiteral("Un collegamento telefonico (tel: o callto:), come --chiamata."),
                                  QStringLiteral("[tel:NUMERO]"));
}

// A caller's number for a copy of the program already running on this workstation: it takes it and
// shows it, and this start ends at once, without a window. -1 when no copy is running.
int handToRunningCopy(int& argc, char** argv, const QString& number) {
    QCoreApplication app(argc, argv);
    QString unsafe;
    switch (CallChannel::sendToUser(number, &unsafe)) {
    case CallChannel::Sent::Taken:
        return 0;
    case CallChannel::Sent::Unsafe:
        std::fprintf(stderr, "ombrisa: %s: il numero non è stato consegnato\n", unsafe.toLocal8Bit().constData());
        return 2;
    case CallChannel::Sent::Refused:
        std::fprintf(stderr, "ombrisa: il programma già aperto non ha accettato il numero %s\n",
                     number.toLocal8Bit().constData());
        return 2;
    case CallChannel::Sent::NobodyListening:
        break;
    }
    return -1;
}

// True when the line asks only for the help or the version: those are printed without a display.
bool asksForTextOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--") == 0)
            return false;
        if (std::strcmp(a, "--data") == 0) {
            ++i; // its value, whatever it looks like
            continue;
        }
        for (const char* asked : {"-h", "--help", "-v", "--version"})
            if (std::strcmp(a, asked) == 0)
                return true;
    }
    return false;
}

// Prints the help or the version through a non-graphical application and ends the program.
int printTextOnly(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ombrisa"));
    QCoreApplication::setApplicationVersion(programVersion());
    QTranslator translator; // the parser's own words ("Uso", "Opzioni") in Italian
    if (translator.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
    QCommandLineParser options;
    describeOptions(options);
    options.process(app); // ends the program after printing the version
    if (options.isSet(helpOption()))
        options.showHelp(0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (asksForTextOnly(argc, argv))
        return printTextOnly(argc, argv);
    // The user interface draws without the graphics hardware.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CallArgument call = callArgument(arguments);
    if (call.given && !call.number) {
        std::fprintf(stderr, "ombrisa: %s\n", call.error.toLocal8Bit().constData());
        return 2;
    }
    if (call.number)
        if (const int handed = handToRunningCopy(argc, argv, call.number->text); handed >= 0)
            return handed;
    OmbrisaApplication app(argc, argv);
    setupApplication(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("it.ombrisa.Ombrisa")); // the menu entry and its icon
    QCoreApplication::setApplicationVersion(programVersion());
    installStorageHooks();
    // The program ends by the exit of the password screen or of the start menu, not because the last
    // visible window went away while one screen replaces another.
    QApplication::setQuitOnLastWindowClosed(false);

    // The data folder: --data DIR, OMBRISA_DATA, a writable program folder, the last --data, the user's own.
    QCommandLineParser options;
    describeOptions(options);
    options.process(app);
    QSettings settings;
    // A start that only checks itself has nobody to answer a question.
    const bool interactive = !options.isSet(startupCheckOption());
    if (!openDataFolder(
            options.value(dataOption()), settings,
            [] {
                return QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Cartella dei dati"),
                                                         QDir::homePath());
            },
            interactive))
        return 1;
    // This workstation in the folder's presence file. Its heartbeat also finds workstations whose locks
    // do not reach this one, and says so once.
    Presence presence(appFolder());
    QTimer heartbeat;
    if (presence.Register()) {
        QObject::connect(&heartbeat, &QTimer::timeout, &app, [&presence] {
            if (const QString warning = presence.Beat(); !warning.isEmpty())
                showWarning(QApplication::activeWindow(), warning);
        });
        heartbeat.start(Presence::kBeatSeconds * 1000);
    }

    // The screens, in the order of creation. The first is the main window. The help, information and
    // splash screens are created fresh by whoever opens them; the start menu at the first sign-in and the
    // work areas when first opened.
    auto frmPassword = std::make_unique<TfrmPassword>();
    auto frmCambiaPassword = std::make_unique<TfrmCambiaPassword>();
    // The start menu is made at the first sign-in: the password window does not wait for it.
    std::unique_ptr<TfrmAvvio> frmAvvio;
    frmPassword->setScreens(nullptr, frmCambiaPassword.get());
    // Callers' numbers: from this command line, and from later starts through the channel; shown once
    // the user has signed in.
    IncomingCalls incoming;
    incoming.setSignInWindow(frmPassword.get());
    CallChannel channel;
    QObject::connect(&channel, &CallChannel::numberReceived, &incoming, &IncomingCalls::receive);
    // False when another copy started at the same moment took the channel, or when the user's folder
    // for it is not private: then no number is taken from later starts, and they say so.
    if (interactive && !channel.listen() && !channel.errorString().isEmpty())
        std::fprintf(stderr, "ombrisa: %s: le chiamate da altri avvii non vengono ricevute\n",
                     channel.errorString().toLocal8Bit().constData());
    if (call.number)
        incoming.receive(call.number->text);
    frmPassword->setStartMenuProvider([&frmAvvio, &app, &incoming] {
        frmAvvio = std::make_unique<TfrmAvvio>();
        QObject::connect(frmAvvio.get(), &TfrmAvvio::endRequested, &app, &QApplication::quit, Qt::QueuedConnection);
        incoming.signedIn(frmAvvio.get());
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

    if (options.isSet(startupCheckOption()))
        quitWhenFirstPainted(frmPassword.get());
    frmPassword->show();
    const int result = QApplication::exec();

    // The start menu goes first, so that no work area brings it back while the screens are destroyed.
    frmAvvio.reset();
    return result;
}
