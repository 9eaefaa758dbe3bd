#pragma once

// The channel through which a second start of the program on this workstation hands a caller's number
// to the copy already running (a local socket per user, in the user's private runtime folder, readable
// and writable by the user alone). The sender writes one line holding the number; the running copy
// answers "OK" when it takes it and "NO" when the line is not a telephone number, and closes. Lines
// longer than a number can be, and connections that say nothing, are cut off.

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace ombrisa {

class CallChannel : public QObject {
    Q_OBJECT
public:
    // `name`: the socket's full path (tests use their own); empty for the user's own.
    explicit CallChannel(QString name = QString(), QObject* parent = nullptr);
    ~CallChannel() override;

    // The socket of this user: "ombrisa-chiamate" in the user's runtime folder.
    static QString userChannelName();

    // Starts receiving. False when another running copy already answers on this channel (or the
    // socket cannot be made); a socket left by a copy that died is replaced.
    bool listen();
    QString fullName() const;

    enum class Sent { Taken, Refused, NobodyListening };
    // Hands `number` to the copy receiving on `name`, waiting at most `timeoutMs` for its answer.
    static Sent send(const QString& name, const QString& number, int timeoutMs = 5000);

signals:
    // A number taken from a second start, as it was given (trimmed).
    void numberReceived(const QString& number);

private:
    void accept();
    void read(QLocalSocket* socket);

    QString name_;
    QLocalServer* server_;
};

} // namespace ombrisa
