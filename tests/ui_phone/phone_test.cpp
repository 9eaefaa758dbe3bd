// The telephone and the program: the channel of the running copy, who is calling (one client, several,
// nobody), a second start handing its number over, and calling a client from a card.
#include "core/dates/dates.h"
#include "core/exportarchives.h"
#include "core/privacy/privacy.h"
#include "core/records/archivepaths.h"
#include "ui/app/avvio.h"
#include "ui/app/datafolderstart.h"
#include "ui/calls/Chiamate.h"
#include "ui/clients/Clienti.h"
#include "ui/common/workareas.h"
#include "ui/phone/callargument.h"
#include "ui/phone/callbuttons.h"
#include "ui/phone/callchannel.h"
#include "ui/phone/incomingcall.h"
#include "ui/privacy/privacy.h"
#include "uisupport/fakes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ombrisa;
using namespace ombrisa::test;

namespace {

// Runs `work` on a thread of its own while this thread's events go on (the channel answers on them).
template <class Work> void whileEventsRun(Work work) {
    QThread* thread = QThread::create(work);
    thread->start();
    ASSERT_TRUE(QTest::qWaitFor([thread] { return thread->isFinished(); }, 20000));
    delete thread;
}

// What the running copy answers to `bytes` sent as they are.
QByteArray answerTo(const QString& name, const QByteArray& bytes) {
    QByteArray answer;
    whileEventsRun([&] {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (!socket.waitForConnected(5000))
            return;
        socket.write(bytes);
        socket.waitForBytesWritten(5000);
        while (socket.waitForReadyRead(5000))
            answer += socket.readAll();
        answer += socket.readAll();
    });
    return answer;
}

TEST(CallChannel, TakesOnlyANumberAndIsPrivateToTheUser) {
    QTemporaryDir runtime;
    const QString name = QDir(runtime.path()).filePath(QStringLiteral("ombrisa-chiamate"));
    CallChannel channel(name);
    ASSERT_TRUE(channel.listen());
    QStringList received;
    QObject::connect(&channel, &CallChannel::numberReceived, [&](const QString& n) { received << n; });

    const struct {
        QByteArray sent;
        QByteArray answer;
    } cases[] = {
        {"+39 02 1234567\n", "OK\n"},
        {"tel:0039-333-1234567\n", "OK\n"},
        {"abc\n", "NO\n"},
        {"+39\n", "NO\n"},
        {"021234567; rm -rf /\n", "NO\n"},
        {"02\xff" "1234567\n", "NO\n"},
        {QByteArray(300, '1'), "NO\n"}, // far longer than a number, and no end of line
        {QByteArray(100, '2') + "\n", "NO\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sent.left(40).toStdString());
        EXPECT_EQ(answerTo(name, c.sent), c.answer);
    }
    EXPECT_EQ(received, (QStringList{QStringLiteral("+39 02 1234567"), QStringLiteral("0039-333-1234567")}));

    // The socket is the user's alone, and so is the folder of the user's own channel.
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFileInfo::exists(channel.fullName()));
    EXPECT_EQ(QFileInfo(channel.fullName()).permissions() & others, QFileDevice::Permissions());
    EXPECT_EQ(QFileInfo(QFileInfo(CallChannel::userChannelName()).path()).permissions() & others,
              QFileDevice::Permissions());

    // A second copy cannot take the channel while this one runs; a sender through send() is answered.
    CallChannel second(name);
    EXPECT_FALSE(second.listen());
    CallChannel::Sent sent = CallChannel::Sent::NobodyListening;
    whileEventsRun([&] { sent = CallChannel::send(name, QStringLiteral("06 7654321")); });
    EXPECT_EQ(sent, CallChannel::Sent::Taken);
    whileEventsRun([&] { sent = CallChannel::send(name, QStringLiteral("sei sette")); });
    EXPECT_EQ(sent, CallChannel::Sent::Refused);
    whileEventsRun([&] { sent = CallChannel::send(name + QStringLiteral("-nessuno"), QStringLiteral("067654321"), 500); });
    EXPECT_EQ(sent, CallChannel::Sent::NobodyListening);
}

// For the length of a test: no runtime folder from the session, and a temporary folder of its own
// (the shared one, as another user would see it).
class NoRuntimeFolder {
public:
    NoRuntimeFolder() : runtime_(qgetenv("XDG_RUNTIME_DIR")), tmp_(qgetenv("TMPDIR")) {
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(shared.path()));
    }
    ~NoRuntimeFolder() {
        restore("XDG_RUNTIME_DIR", runtime_);
        restore("TMPDIR", tmp_);
    }
    NoRuntimeFolder(const NoRuntimeFolder&) = delete;
    NoRuntimeFolder& operator=(const NoRuntimeFolder&) = delete;
    // Where the channel's folder of this user lies in the shared temporary folder.
    QString userFolder() const { return QDir(shared.path()).filePath(QStringLiteral("ombrisa-%1").arg(::geteuid())); }

    QTemporaryDir shared;

private:
    static void restore(const char* name, const QByteArray& value) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QByteArray runtime_, tmp_;
};

TEST(CallChannel, WithoutARuntimeFolderTheChannelLiesInAFolderOfTheUserAlone) {
    NoRuntimeFolder env;
    QString error;
    const QString name = CallChannel::userChannelName(&error);
    EXPECT_EQ(name, QDir(env.userFolder()).filePath(QStringLiteral("ombrisa-chiamate"))) << error.toStdString();
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(env.userFolder()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, ::geteuid());
    CallChannel channel;
    ASSERT_TRUE(channel.listen()) << channel.errorString().toStdString();
    EXPECT_EQ(channel.fullName(), name);
    CallChannel::Sent sent = CallChannel::Sent::NobodyListening;
    whileEventsRun([&] { sent = CallChannel::sendToUser(QStringLiteral("06 7654321"), &error); });
    EXPECT_EQ(sent, CallChannel::Sent::Taken);
}

// Somebody made the folder first (another user, or with rights for others): neither the running copy
// nor a second start uses it, and the number reaches nobody.
TEST(CallChannel, AFolderThatIsNotTheUsersAloneIsRefusedAndTheNumberNotDelivered) {
    const struct {
        const char* name;
        void (*make)(const QString& folder);
        const char* said;
        bool needsRoot;
    } cases[] = {
        {"made by another user",
         [](const QString& f) {
             ASSERT_TRUE(QDir().mkpath(f));
             ASSERT_EQ(::chown(QFile::encodeName(f).constData(), 65534, 65534), 0);
             ASSERT_EQ(::chmod(QFile::encodeName(f).constData(), 0700), 0);
         },
         "appartiene a un altro utente (65534)", true},
        {"open to everybody",
         [](const QString& f) {
             ASSERT_TRUE(QDir().mkpath(f));
             ASSERT_EQ(::chmod(QFile::encodeName(f).constData(), 01777), 0);
         },
         "è accessibile anche ad altri utenti (permessi 777 invece di 700)", false},
        {"open to the group",
         [](const QString& f) {
             ASSERT_TRUE(QDir().mkpath(f));
             ASSERT_EQ(::chmod(QFile::encodeName(f).constData(), 0750), 0);
         },
         "è accessibile anche ad altri utenti (permessi 750 invece di 700)", false},
        {"a link to somebody's folder",
         [](const QString& f) {
             ASSERT_TRUE(QDir().mkpath(f + QStringLiteral("-vera")));
             ASSERT_EQ(::chmod(QFile::encodeName(f + QStringLiteral("-vera")).constData(), 0700), 0);
             ASSERT_TRUE(QFile::link(f + QStringLiteral("-vera"), f));
         },
         "non è una cartella ma un collegamento", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && ::geteuid() != 0)
            continue; // only the super-user can give a folder to another user
        NoRuntimeFolder env;
        c.make(env.userFolder());
        // The other user listens where the channel would be.
        QLocalServer other;
        const QString socketFolder = c.needsRoot ? env.userFolder() : QFileInfo(env.userFolder()).canonicalFilePath();
        ASSERT_TRUE(other.listen(QDir(socketFolder).filePath(QStringLiteral("ombrisa-chiamate"))));
        QString error;
        EXPECT_TRUE(CallChannel::userChannelName(&error).isEmpty());
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.said))) << error.toStdString();
        CallChannel::Sent sent = CallChannel::Sent::Taken;
        whileEventsRun([&] { sent = CallChannel::sendToUser(QStringLiteral("06 7654321"), &error); });
        EXPECT_EQ(sent, CallChannel::Sent::Unsafe);
        EXPECT_FALSE(other.waitForNewConnection(200)) << "the number reached the other user";
        CallChannel running;
        EXPECT_FALSE(running.listen());
        EXPECT_TRUE(running.errorString().contains(QString::fromUtf8(c.said))) << running.errorString().toStdString();
#ifdef OMBRISA_PROGRAM_PATH
        // A second start of the program says so on one line and ends with 2, the number kept.
        QProcess second;
        QProcessEnvironment pe = QProcessEnvironment::systemEnvironment();
        pe.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("nessuna"));
        second.setProcessEnvironment(pe);
        second.start(QStringLiteral(OMBRISA_PROGRAM_PATH),
                     {QStringLiteral("--chiamata"), QStringLiteral("06 7654321")});
        ASSERT_TRUE(second.waitForFinished(30000));
        EXPECT_EQ(second.exitCode(), 2);
        const QByteArray err = second.readAllStandardError();
        EXPECT_TRUE(err.startsWith("ombrisa: ") && err.endsWith(": il numero non è stato consegnato\n") &&
                    err.count('\n') == 1 && err.contains(c.said))
            << err.toStdString();
        EXPECT_FALSE(other.waitForNewConnection(200)) << "the number reached the other user";
#endif
    }
}

// Connections that say nothing, far more than the files a process may open, never take the channel
// down: the bound and the silence's time-out keep it listening, and the next number is taken there
// (no second copy starts).
TEST(CallChannel, SilentConnectionsBeyondTheBoundDoNotTakeTheChannelDown) {
    QTemporaryDir runtime;
    const QString name = QDir(runtime.path()).filePath(QStringLiteral("ombrisa-chiamate"));
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    constexpr int kSilent = 1100;
    if (saved.rlim_max != RLIM_INFINITY && saved.rlim_max < kSilent + 64)
        GTEST_SKIP() << "the hard limit of open files is below the connections the test opens";
    struct rlimit lowered = saved;
    // Below an office's "ulimit -n 1024", so that the silent peers go beyond it within the silence's
    // time-out however fast this machine accepts them.
    lowered.rlim_cur = 256;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
    CallChannel channel(name);
    ASSERT_TRUE(channel.listen());
    QStringList received;
    QObject::connect(&channel, &CallChannel::numberReceived, [&](const QString& n) { received << n; });

    // The silent peers live in a process of their own, with room for all their connections.
    struct sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(name);
    ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    int done[2];
    int hold[2];
    ASSERT_EQ(::pipe(done), 0);
    ASSERT_EQ(::pipe(hold), 0);
    const pid_t peers = ::fork();
    ASSERT_GE(peers, 0);
    if (peers == 0) {
        ::close(hold[1]); // so that the test's close of it is the end of the pipe
        ::close(done[0]);
        struct rlimit room = saved;
        room.rlim_cur = room.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &room);
        int opened = 0;
        for (int i = 0; i < kSilent; ++i) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
                ++opened;
        }
        const char count = opened == kSilent ? 'y' : 'n';
        (void)!::write(done[1], &count, 1);
        char ignored;
        (void)!::read(hold[0], &ignored, 1); // silent until the test ends
        ::_exit(0);
    }
    ::close(done[1]);
    ::close(hold[0]);
    char connected = 0;
    const bool peersDone = QTest::qWaitFor(
        [&] {
            pollfd p{done[0], POLLIN, 0};
            return ::poll(&p, 1, 0) == 1 && ::read(done[0], &connected, 1) == 1;
        },
        60000);
    EXPECT_TRUE(peersDone) << "the channel stopped taking connections";
    if (!peersDone)
        ::kill(peers, SIGKILL);
    EXPECT_EQ(connected, 'y') << "every silent peer got its connection";
    QTest::qWait(200);
    EXPECT_TRUE(QFileInfo::exists(name)) << "the socket is still there";
    CallChannel second(name);
    EXPECT_FALSE(second.listen()) << "the channel still answers: no second copy";
    CallChannel::Sent sent = CallChannel::Sent::NobodyListening;
    whileEventsRun([&] { sent = CallChannel::send(name, QStringLiteral("06 7654321")); });
    EXPECT_EQ(sent, CallChannel::Sent::Taken);
    EXPECT_EQ(received, QStringList{QStringLiteral("06 7654321")});

    ::close(hold[1]);
    ::close(done[0]);
    int status = 0;
    ::waitpid(peers, &status, 0);
    ::setrlimit(RLIMIT_NOFILE, &saved);
}

TEST(CallArgument, TheCommandLineForms) {
    const struct {
        QStringList args;
        bool given;
        const char* number; // nullptr: none
    } cases[] = {
        {{}, false, nullptr},
        {{"--data", "tel:021234567"}, false, nullptr}, // a folder's name, not a link
        {{"--chiamata", "+39 02 1234567"}, true, "+39 02 1234567"},
        {{"--chiamata=021234567", "--data", "D"}, true, "021234567"},
        {{"tel:+39-02-1234567"}, true, "+39-02-1234567"},
        {{"callto://021234567"}, true, "021234567"},
        {{"--chiamata"}, true, nullptr},
        {{"--chiamata", "mario"}, true, nullptr},
        {{"tel:"}, true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CallArgument call = callArgument(c.args);
        EXPECT_EQ(call.given, c.given);
        ASSERT_EQ(call.number.has_value(), c.number != nullptr);
        if (call.number) {
            EXPECT_EQ(call.number->text, QString::fromUtf8(c.number));
        }
        EXPECT_EQ(call.error.isEmpty(), !c.given || c.number);
    }
    // The refusal quotes what was given on one line.
    EXPECT_EQ(callArgument({QStringLiteral("--chiamata"), QStringLiteral("mario\r\nombrisa: preso")}).error,
              QStringLiteral("\"mario\\r\\nombrisa: preso\" non è un numero di telefono"));
    EXPECT_EQ(callArgument({QStringLiteral("tel:") + QString(70, u'1') + QStringLiteral("x")}).error,
              QStringLiteral("\"tel:") + QString(56, u'1') + QChar(0x2026) +
                  QStringLiteral("\" non è un numero di telefono"));
}

class IncomingCallTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        writeArchive(path(kClientiFile),
                     std::vector<TRecCliente>{
                         makeClient({{"Cliente", "Rossi Mario"}, {"CodFisc", "RSSMRA80A01H501U"}, {"Zona", "Nord"},
                                     {"Email", "mario@example.it"}, {"TelCel", "333 1111111"}, {"Recapito", "02 1234567"}}),
                         makeClient({{"Cliente", "Bianchi Anna"}, {"CodFisc", "BNCNNA70B41F205X"}, {"TelUff", "06 7654321"}}),
                         makeClient({{"Cliente", "Verdi Luca"}, {"CodFisc", "VRDLCU60C01L219Z"}, {"TelCasa", "+39 06 765.43.21"}}),
                     });
        writeArchive(path(kChiamateFile),
                     std::vector<TRecChiamata>{makeCall({{"CodFisc", "VRDLCU60C01L219Z"}, {"DataRit", "04/02/2024"}})});
        clock.set(QDateTime(QDate(2024, 3, 5), QTime(9, 41)));
        registerWorkArea(1, createdOnFirstUse(clienti));
        registerWorkArea(2, createdOnFirstUse(chiamate));
        avvio = std::make_unique<TfrmAvvio>();
        avvio->show();
    }
    void TearDown() override {
        registerWorkArea(1, {});
        registerWorkArea(2, {});
        avvio.reset();
        chiamate.reset();
        clienti.reset();
        UiTest::TearDown();
    }
    QString text(QWidget* screen, const char* box) const {
        auto* w = screen->findChild<QLineEdit*>(QString::fromLatin1(box));
        return w ? w->text() : QStringLiteral("<manca>");
    }
    QAction* createClient() const { return chiamate->findChild<QAction*>(QStringLiteral("actCreaCliente")); }
    bool offered() const { return chiamate->txtCliente->actions().contains(createClient()); }

    std::unique_ptr<TfrmClienti> clienti;
    std::unique_ptr<TfrmChiamate> chiamate;
    std::unique_ptr<TfrmAvvio> avvio;
    IncomingCalls incoming;
};

TEST_F(IncomingCallTest, OneClientAfterTheSignIn) {
    QWidget password;
    incoming.setSignInWindow(&password);
    incoming.receive(QStringLiteral("+39 02 123.45.67"));
    EXPECT_FALSE(chiamate); // nobody has signed in yet: the number waits
    incoming.signedIn(avvio.get());
    ASSERT_TRUE(QTest::qWaitFor([this] { return chiamate && chiamate->isVisible(); }, 5000));
    EXPECT_FALSE(avvio->isVisible());
    EXPECT_EQ(chiamate->txtCliente->text(), QStringLiteral("Rossi Mario"));
    EXPECT_EQ(chiamate->txtCodFisc->text(), QStringLiteral("RSSMRA80A01H501U"));
    EXPECT_EQ(text(chiamate.get(), "txtZona"), QStringLiteral("Nord"));
    EXPECT_EQ(chiamate->txtEmail->text(), QStringLiteral("mario@example.it"));
    EXPECT_EQ(text(chiamate.get(), "txtTelCel"), QStringLiteral("333 1111111"));
    EXPECT_EQ(text(chiamate.get(), "txtRecapito"), QStringLiteral("02 1234567"));
    EXPECT_EQ(chiamate->txtTipo->currentText(), QStringLiteral("In entrata"));
    EXPECT_EQ(chiamate->lblAnnoRit->text(), QStringLiteral("2024"));
    EXPECT_EQ(chiamate->txtGiornoRit->currentText(), QStringLiteral("05"));
    EXPECT_EQ(chiamate->txtMinutiRit->currentText(), QStringLiteral("41"));
    EXPECT_EQ(chiamate->txtOreRit->currentText(), QStringLiteral("09"));
    EXPECT_EQ(chiamate->focusWidget(), chiamate->txtOggetto);
    EXPECT_TRUE(chiamate->lblPosizione->text().isEmpty()); // a new card, not saved
    ASSERT_TRUE(createClient());
    EXPECT_FALSE(offered());
}

TEST_F(IncomingCallTest, SeveralClientsAChoiceWithTheirLastCall) {
    incoming.signedIn(avvio.get());
    dialogs.expect(QStringLiteral("frmChiChiama"), [](QDialog& d) {
        auto* list = d.findChild<QTreeWidget*>(QStringLiteral("lstClienti"));
        ASSERT_TRUE(list);
        ASSERT_EQ(list->topLevelItemCount(), 2);
        const auto row = [list](int i) {
            QStringList cells;
            for (int c = 0; c < 4; ++c)
                cells << list->topLevelItem(i)->text(c);
            return cells;
        };
        EXPECT_EQ(row(0), (QStringList{"Bianchi Anna", "2", "Tel. ufficio", "nessuna"}));
        EXPECT_EQ(row(1), (QStringList{"Verdi Luca", "3", "Tel. casa", "04/02/2024"}));
        list->setCurrentItem(list->topLevelItem(1));
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    incoming.receive(QStringLiteral("067654321"));
    ASSERT_TRUE(chiamate && chiamate->isVisible());
    EXPECT_EQ(chiamate->txtCliente->text(), QStringLiteral("Verdi Luca"));
    // The subject box has the keyboard back, with its focus frame.
    EXPECT_TRUE(QTest::qWaitForWindowActive(chiamate.get(), 2000));
    EXPECT_EQ(QApplication::focusWidget(), chiamate->txtOggetto);
    auto* frame = chiamate->findChild<QWidget*>(QStringLiteral("effOggetto"));
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(chiamate->txtCodFisc->text(), QStringLiteral("VRDLCU60C01L219Z"));

    // Nobody chosen: the number alone, and no offer to create a card (the clients exist).
    dialogs.expect(QStringLiteral("frmChiChiama"), [](QDialog& d) { d.reject(); });
    incoming.receive(QStringLiteral("06 7654321"));
    EXPECT_TRUE(chiamate->txtCliente->text().isEmpty());
    EXPECT_EQ(text(chiamate.get(), "txtRecapito"), QStringLiteral("06 7654321"));
    EXPECT_FALSE(offered());
}

TEST_F(IncomingCallTest, NobodyTheNumberAndTheClientCardToCreate) {
    incoming.signedIn(avvio.get());
    incoming.receive(QStringLiteral("+39 347 0000000"));
    ASSERT_TRUE(chiamate && chiamate->isVisible());
    EXPECT_TRUE(chiamate->txtCliente->text().isEmpty());
    EXPECT_EQ(text(chiamate.get(), "txtRecapito"), QStringLiteral("+39 347 0000000"));
    EXPECT_EQ(chiamate->txtTipo->currentText(), QStringLiteral("In entrata"));
    ASSERT_TRUE(createClient());
    EXPECT_TRUE(offered());
    chiamate->txtCliente->setText(QStringLiteral("Gialli Piero"));
    createClient()->trigger();
    ASSERT_TRUE(clienti && clienti->isVisible());
    EXPECT_EQ(text(clienti.get(), "txtCliente"), QStringLiteral("Gialli Piero"));
    EXPECT_EQ(text(clienti.get(), "txtRecapito"), QStringLiteral("+39 347 0000000"));
    EXPECT_FALSE(offered());
}

TEST_F(IncomingCallTest, ACallBeingWrittenIsNotThrownAwayWithoutAsking) {
    incoming.signedIn(avvio.get());
    incoming.receive(QStringLiteral("02 1234567"));
    ASSERT_TRUE(chiamate && chiamate->isVisible());
    chiamate->txtOggetto->setText(QStringLiteral("Preventivo"));
    messages.expect(MsgKind::Confirmation, kUnsavedCallQuestion.arg(QStringLiteral("347 0000000")), MsgAnswer::No);
    incoming.receive(QStringLiteral("347 0000000"));
    EXPECT_EQ(chiamate->txtOggetto->text(), QStringLiteral("Preventivo"));
    EXPECT_EQ(chiamate->txtCliente->text(), QStringLiteral("Rossi Mario"));
    messages.expect(MsgKind::Confirmation, kUnsavedCallQuestion.arg(QStringLiteral("347 0000000")), MsgAnswer::Yes);
    incoming.receive(QStringLiteral("347 0000000"));
    EXPECT_TRUE(chiamate->txtOggetto->text().isEmpty());
    EXPECT_EQ(text(chiamate.get(), "txtRecapito"), QStringLiteral("347 0000000"));
}

// A question whose Sì loses something answers No to Enter: one stray Enter while typing must not discard
// the call being written, forget a client or start an empty archive in place of a share not mounted.
// The fake answers what Enter would: the box's default button.
TEST_F(IncomingCallTest, DestructiveQuestionsAnswerNoToEnter) {
    const QString empty = path(QStringLiteral("condivisa"));
    ASSERT_TRUE(QDir().mkpath(empty));
    struct DestructiveCase {
        const char* what;
        std::function<QString()> question; // the exact text, known before asking
        std::function<void()> ask;         // what the user does
        std::function<bool()> nothingLost; // after the No
    };
    const DestructiveCase cases[] = {
        {"an incoming call over a call card being written",
         [] { return kUnsavedCallQuestion.arg(QStringLiteral("347 0000000")); },
         [this] {
             incoming.signedIn(avvio.get());
             incoming.receive(QStringLiteral("02 1234567"));
             chiamate->txtOggetto->setText(QStringLiteral("Preventivo"));
             incoming.receive(QStringLiteral("347 0000000"));
         },
         [this] { return chiamate->txtOggetto->text() == QStringLiteral("Preventivo"); }},
        {"forgetting the client on the card",
         [] {
             return forgetQuestion(findSubject({QStringLiteral("RSSMRA80A01H501U"), {}}));
         },
         [this] {
             clienti = std::make_unique<TfrmClienti>();
             clienti->show();
             ASSERT_EQ(clienti->navigator().showCard(1), CardNavigator::Outcome::Loaded);
             forgetClientOnCard(clienti.get());
         },
         [this] { return bytes(kClientiFile).contains("RSSMRA80A01H501U"); }},
        {"a new archive in a folder given with --data that looks empty", [&empty] { return newArchiveQuestion(empty); },
         [this, &empty] {
             for (const char* button : {"btnNuovo", "btnEsci"})
                 dialogs.expect(QStringLiteral("frmCartellaDati"), [button](QDialog& d) {
                     d.findChild<QPushButton*>(QString::fromLatin1(button))->click();
                 });
             QSettings settings(path(QStringLiteral("impostazioni.ini")), QSettings::IniFormat);
             EXPECT_FALSE(openDataFolder(empty, settings, [] { return QString(); }));
         },
         [&empty] { return QDir(empty).isEmpty(); }},
    };
    for (const DestructiveCase& c : cases) {
        SCOPED_TRACE(c.what);
        messages.expect(MsgKind::Confirmation, c.question(), MsgAnswer::No);
        messages.shown.clear();
        c.ask();
        const auto asked = std::find_if(messages.shown.cbegin(), messages.shown.cend(),
                                        [](const ShownMessage& m) { return m.kind == MsgKind::Confirmation; });
        ASSERT_NE(asked, messages.shown.cend());
        EXPECT_EQ(asked->defaultButton, MsgAnswer::No);
        EXPECT_TRUE(c.nothingLost());
        messages.verifyAllShown();
    }
}

#ifdef OMBRISA_PROGRAM_PATH
// A second start of the program with a number hands it to the running copy (here, this test) and ends
// at once: it never opens a display (its platform does not exist) and exits 0.
TEST_F(IncomingCallTest, ASecondStartHandsItsNumberToTheRunningCopy) {
    QTemporaryDir runtime; // the user's runtime folder, as the desktop session gives it
    CallChannel channel(QDir(runtime.path()).filePath(QStringLiteral("ombrisa-chiamate")));
    ASSERT_TRUE(channel.listen());
    QObject::connect(&channel, &CallChannel::numberReceived, &incoming, &IncomingCalls::receive);
    incoming.signedIn(avvio.get());

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("nessuna"));
    second.setProcessEnvironment(env);
    QSignalSpy finished(&second, &QProcess::finished);
    second.start(QStringLiteral(OMBRISA_PROGRAM_PATH), {QStringLiteral("tel:+39-02-1234567")});
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    ASSERT_TRUE(chiamate && chiamate->isVisible());
    EXPECT_EQ(chiamate->txtCliente->text(), QStringLiteral("Rossi Mario"));
    EXPECT_EQ(chiamate->txtTipo->currentText(), QStringLiteral("In entrata"));

    // What is not a number ends the start with one line and exit 2, before any window.
    QProcess wrong;
    wrong.setProcessEnvironment(env);
    wrong.start(QStringLiteral(OMBRISA_PROGRAM_PATH), {QStringLiteral("--chiamata"), QStringLiteral("mario")});
    ASSERT_TRUE(wrong.waitForFinished(30000));
    EXPECT_EQ(wrong.exitCode(), 2);
    EXPECT_EQ(wrong.readAllStandardError(), QByteArray("ombrisa: \"mario\" non è un numero di telefono\n"));
    // A line break in it never makes a second line.
    wrong.start(QStringLiteral(OMBRISA_PROGRAM_PATH),
                {QStringLiteral("--chiamata"), QStringLiteral("mario\nombrisa: ok")});
    ASSERT_TRUE(wrong.waitForFinished(30000));
    EXPECT_EQ(wrong.exitCode(), 2);
    EXPECT_EQ(wrong.readAllStandardError(),
              QByteArray("ombrisa: \"mario\\nombrisa: ok\" non è un numero di telefono\n"));
}
#endif

class CallButtonsTest : public UiTest {};

TEST_F(CallButtonsTest, ACardCallsItsNumbersThroughTheDesktop) {
    TfrmClienti clients;
    clients.show();
    for (const char* name : {"txtRecapito", "txtTelCasa", "txtTelUff", "txtTelCel"}) {
        SCOPED_TRACE(name);
        auto* box = clients.findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_TRUE(box);
        QAction* call = box->findChild<QAction*>(QStringLiteral("actChiama"));
        ASSERT_TRUE(call);
        EXPECT_TRUE(box->actions().contains(call));
        box->setText(QStringLiteral(" +39 333 123.45.67 "));
        opener.opened.clear();
        call->trigger();
        EXPECT_EQ(opener.opened, QList<QUrl>{QUrl(QStringLiteral("tel:+393331234567"))});
    }
    TfrmChiamate calls;
    calls.show();
    for (const char* name : {"txtRecapito", "txtTelCel"}) {
        auto* box = calls.findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_TRUE(box && box->findChild<QAction*>(QStringLiteral("actChiama")));
    }
    EXPECT_FALSE(calls.txtCliente->findChild<QAction*>(QStringLiteral("actChiama")));
}

TEST_F(CallButtonsTest, NoProgramForTelephoneLinksOffersToCopyTheNumber) {
    TfrmClienti clients;
    clients.show();
    auto* box = clients.findChild<QLineEdit*>(QStringLiteral("txtTelCel"));
    QAction* call = box->findChild<QAction*>(QStringLiteral("actChiama"));
    box->setText(QStringLiteral("02 1234567"));
    opener.refused << QUrl(QStringLiteral("tel:021234567"));
    QGuiApplication::clipboard()->setText(QStringLiteral("prima"));
    messages.expect(MsgKind::Confirmation, kNoTelephoneProgramQuestion.arg(QStringLiteral("02 1234567")), MsgAnswer::No);
    call->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("prima"));
    messages.expect(MsgKind::Confirmation, kNoTelephoneProgramQuestion.arg(QStringLiteral("02 1234567")), MsgAnswer::Yes);
    call->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("02 1234567"));

    // A box without a number: said so, nothing opened; its context menu offers no call.
    box->setText(QStringLiteral("dopo le 18"));
    opener.opened.clear();
    messages.expect(MsgKind::Warning, kNoNumberWarning);
    call->trigger();
    EXPECT_TRUE(opener.opened.isEmpty());
    std::unique_ptr<QMenu> menu(callContextMenu(box));
    QAction* entry = menu->findChild<QAction*>(QStringLiteral("actChiama"));
    ASSERT_TRUE(entry);
    EXPECT_FALSE(entry->isEnabled());
    box->setText(QStringLiteral("0039 02 1234567"));
    menu.reset(callContextMenu(box));
    entry = menu->findChild<QAction*>(QStringLiteral("actChiama"));
    ASSERT_TRUE(entry && entry->isEnabled());
    opener.refused.clear();
    entry->trigger();
    EXPECT_EQ(opener.opened, QList<QUrl>{QUrl(QStringLiteral("tel:0039021234567"))});
}

} // namespace
