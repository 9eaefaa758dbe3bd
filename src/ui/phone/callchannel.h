#pragma once

// The channel through which a second start of the program on this workstation hands a caller's number
// to the copy already running (a local socket per user, in the user's private runtime folder, readable
// and writable by the user alone). The sender writes one line holding the number; the running copy
// answers "OK" when it takes it and "NO" when the line is not a telephone number, and closes. Lines
// longer than a number can be, and connections that say nothing, are cut off; beyond a few connections
// open at once the oldest goes, so that no number of silent peers can use up the program's files.

#include <QList>
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

    // The socket of this user: "ombrisa-chiamate" in the user's runtime folder (XDG_RUNTIME_DIR) or,
    // without one, in "ombrisa-UID" of the temporary folder, made with rights for the user alone. Never
    // a name another user could take first: empty, with the Italian reason in `error`, when the folder
    // is not a folder of this user's with no rights for anybody else (or cannot be made).
    static QString userChannelName(QString* error = nullptr);
    // The reason `folder` may not hold the channel (not a folder, a link, another owner, rights for the
    // group or others); empty when it is this user's alone.
    static QString privateFolderProblem(const QString& folder);

    // Starts receiving. False when another running copy already answers on this channel, the user's
    // folder is not private (errorString()) or the socket cannot be made; a socket left by a copy that
    // died is replaced.
    bool listen();
    QString fullName() const;
    const QString& errorString() const { return error_; }

    enum class Sent { Taken, Refused, NobodyListening, Unsafe };
    // Hands `number` to the copy receiving on `name`, waiting at most `timeoutMs` for its answer.
    static Sent send(const QString& name, const QString& number, int timeoutMs = 5000);
    // send() on this user's channel; Unsafe, with the reason in `error` and nothing sent, when
    // userChannelName() refuses the folder.
    static Sent sendToUser(const QString& number, QString* error, int timeoutMs = 5000);

    // The connections kept open at once.
    static constexpr int kMostConnections = 32;

signals:
    // A number taken from a second start, as it was given (trimmed).
    void numberReceived(const QString& number);

private:
    void accept();
    void read(QLocalSocket* socket);

    QString error_; // before name_, which the constructor finds filling it
    QString name_;
    QLocalServer* server_;
    QList<QLocalSocket*> open_; // oldest first
};

} // namespace ombrisa
