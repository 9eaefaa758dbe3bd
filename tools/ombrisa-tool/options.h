#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace tool {

// "--name value" pairs, "--flag" switches and the remaining words of one command line.
struct Options {
    QMap<QString, QString> values;
    QStringList flags;
    QStringList words;
    QString error; // not empty when the line could not be read

    // Reads args; `valued` lists the options that take a value, `switches` those that do not.
    static Options parse(const QStringList& args, const QStringList& valued, const QStringList& switches);
    // The value of --name as a whole number in [min, max]; sets error and gives nothing otherwise.
    std::optional<qint64> number(const QString& name, qint64 fallback, qint64 min, qint64 max);
};

// Checks that --dir names a readable folder and points the program's folder at it. Returns an error
// text, empty when all is well.
QString useFolder(const Options& options);

} // namespace tool

namespace tool {

// True when a command's line asks for its help (--help or -h anywhere after the command word).
bool asksForHelp(const QStringList& args);
// The help of one command, in Italian; empty for a command without one.
QString commandHelp(const QString& command);

} // namespace tool
