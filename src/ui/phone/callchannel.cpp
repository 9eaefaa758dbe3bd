#include "ui/phone/callchannel.h"

#include "core/phone/phonenumber.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <utility>

namespace ombrisa {

namespace {

constexpr qint64 kLongestLine = 128;    // a number with its blanks and signs is far shorter
constexpr int kSilentSenderMs = 5000;   // a connection that says nothing is cut off after this

} // namespace

CallChannel::CallChannel(QString name, QObject* parent)
    : QObject(parent), name_(name.isEmpty() ? userChannelName() : std::move(name)), server_(new QLocalServer(this)) {
    // The socket file is created readable and writable by this user only.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &CallChannel::accept);
}

CallChannel::~CallChannel() = default;

QString CallChannel::userChannelName() {
    // The runtime folder belongs to the user and no one else may enter it.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("ombrisa-chiamate"));
}

QString CallChannel::fullName() const {
    return server_->fullServerName();
}

bool CallChannel::listen() {
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

} // namespace ombrisa
