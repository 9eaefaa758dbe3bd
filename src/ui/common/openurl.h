#pragma once

// Opening a document, a web address or a new e-mail message with the user's default application.

#include <QString>
#include <QUrl>

class QWidget;

namespace ombrisa {

class TMisc {
public:
    // `sCommand` is a file path, a web address ("https://…") or a "mailto:" address, optionally
    // enclosed in double quotes. It goes to the user's default application through the UrlOpener
    // service (QDesktopServices), never through a command line. When no application takes it, a message
    // over `parent` says so; for a file it offers to open the file's folder instead, and names the
    // folder when that fails too. False when nothing was opened.
    static bool Open(const QString& sCommand, QWidget* parent = nullptr);
    // The address that Open hands over: quotes removed; "mailto:" and web addresses as they are;
    // anything else is a local file. Empty for an empty text.
    static QUrl toUrl(const QString& sCommand);
};

} // namespace ombrisa
