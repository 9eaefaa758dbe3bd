#pragma once

#include <QStringList>

// Each command gets its own arguments (after the command word) and returns the exit code:
// 0 success, 1 something found wrong, 2 bad usage or an unreadable folder.
namespace tool {

int generate(const QStringList& args);
int dump(const QStringList& args);
int verify(const QStringList& args);
int check(const QStringList& args);
int hours(const QStringList& args);
int search(const QStringList& args);
int exportFile(const QStringList& args);
int importFile(const QStringList& args);
int duplicates(const QStringList& args);
int access(const QStringList& args);
int forget(const QStringList& args);
int retention(const QStringList& args);
int backup(const QStringList& args);
int restore(const QStringList& args);
int chi(const QStringList& args);

// Prints "ombrisa-tool: <message>" on stderr and returns 2.
int usageError(const QString& message);
// A command's exit code once its output is flushed: 2 with a message when the output could not be
// written (a full disk, a closed pipe), whatever the command found.
int finishOutput(int code);

} // namespace tool
