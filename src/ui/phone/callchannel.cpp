#include "ui/phone/callchannel.h"

#include "core/phone/phonenumber.h"
#include "core/storage/syserror.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <utility>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrisa {

namespace {

constexpr qint64 kLongestLine = 128;    // a number with its blanks and signs is far shorter
constexpr int kSilentSenderMs = 5000;   // a connection that says nothing is cut off after this

} // namespace

CallChannel::CallChannel(QString name, QObject* parent)
    : QObject(parent), name_(name.isEmpty() ? userChannelName(&error_) : std::move(name)),
      server_(new QLocalServer(this)) {
    // The socket file is created readable and writable by this user only.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &CallChannel::accept);
}

CallChannel::~CallChannel() = default;

QString CallChannel::privateFolderProblem(const QString& folder) {
    const QString shown = QDir::toNativeSeparators(folder);
    struct stat st {};
    if (::lstat(QFile::encodeName(folder).constData(), &st) != 0)
        return QStringLiteral("impossibile usare la cartella %1 del canale delle chiamate: %2")
            .arg(shown, systemErrorText(errno));
    if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode))
        return QStringLiteral("%1, dove il programma riceve le chiamate, non è una cartella ma %2")
            .arg(shown, S_ISLNK(st.st_mode) ? QStringLiteral("un collegamento") : QStringLiteral("un file"));
    if (st.st_uid != ::geteuid())
        return QStringLiteral("la cartella %1, dove il programma riceve le chiamate, appartiene a un altro utente "
                              "(%2)")
            .arg(shown)
            .arg(st.st_uid);
    if ((st.st_mode & 077) != 0)
        return QStringLiteral("la cartella %1, dove il programma riceve le chiamate, è accessibile anche ad altri "
                              "utenti (permessi %2 invece di 700)")
            .arg(shown)
            .arg(st.st_mode & 0777, 3, 8, QLatin1Char('0'));
    return {};
}

QString CallChannel::userChannelName(QString* error) {
    // The runtime folder the session gives belongs to the user and no one else may enter it. Without
    // one, a folder of the user's own in the shared temporary folder: made with rights for the user
    // alone, and used only when it is still so (another user may have made it first).
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty()) {
        folder = QDir(QDir::tempPath()).filePath(QStringLiteral("ombrisa-%1").arg(::geteuid()));
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) == 0)
            ::chmod(QFile::encodeName(folder).constData(), 0700); // whatever the umask
        else if (errno != EEXIST) {
            if (error)
                *error = QStringLiteral("impossibile creare la cartella %1 del canale delle chiamate: %2")
                             .arg(QDir::toNativeSeparators(folder), systemErrorText(errno));
            return {};
        }
    }
    if (const QString problem = privateFolderProblem(folder); !problem.isEmpty()) {
        if (error)
            *error = problem;
        return {};
    }
    return QDir(folder).filePath(QStringLiteral("ombrisa-chiamate"));
}

QString CallChannel::fullName() const {
    return server_->fullServerName();
}

bool CallChannel::listen() {
    if (name_.isEmpty())
        return false; // error_ says why
    // Somebody answers there: another copy runs (a new socket would silently take its place).
    // Nobody: at most a socket left by a copy that died, which goes.
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(1000)) {
        probe.abort();
        return false;
    }
    QLocalServer::removeServer(name_);
    return server_->listen(name_);
}

void CallChannel::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // Beyond the bound the oldest connection goes: a sender writes its number at once, so the oldest
        // is the likeliest to be silent. The files in use stay few, and the server never fails to accept
        // (which would close it and take the channel away).
        if (open_.size() >= kMostConnections) {
            QLocalSocket* oldest = open_.takeFirst();
            oldest->abort();
            oldest->deleteLater();
        }
        open_.append(socket);
        connect(socket, &QObject::destroyed, this, [this, socket] { open_.removeOne(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        auto* silence = new QTimer(socket);
        silence->setSingleShot(true);
        connect(silence, &QTimer::timeout, socket, [socket] { socket->abort(); });
        silence->start(kSilentSenderMs);
        if (socket->bytesAvailable() > 0)
            read(socket);
    }
}

void CallChannel::read(QLocalSocket* socket) {
    if (socket->property("answered").toBool())
        return;
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kLongestLine) {
            socket->setProperty("answered", true);
            socket->write("NO\n");
            socket->disconnectFromServer();
        }
        return;
    }
    const QByteArray line = socket->readLine(kLongestLine + 1);
    socket->setProperty("answered", true);
    std::optional<GivenNumber> number;
    if (line.endsWith('\n')) {
        const QString text = QString::fromUtf8(line.chopped(1));
        if (!text.contains(QChar::ReplacementCharacter))
            number = phoneFromArgument(text);
    }
    socket->write(number ? "OK\n" : "NO\n");
    socket->flush();
    socket->disconnectFromServer();
    if (number)
        emit numberReceived(number->text);
}

CallChannel::Sent CallChannel::send(const QString& name, const QString& number, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return Sent::NobodyListening;
    socket.write(number.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return Sent::NobodyListening;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return Sent::NobodyListening;
    return socket.readLine(16) == "OK\n" ? Sent::Taken : Sent::Refused;
}

CallChannel::Sent CallChannel::sendToUser(const QString& number, QString* error, int timeoutMs) {
    const QString name = userChannelName(error);
    if (name.isEmpty())
        return Sent::Unsafe;
    return send(name, number, timeoutMs);
}

} // namespace ombrisa
