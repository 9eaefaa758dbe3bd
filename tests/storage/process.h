#pragma once

#include "core/records/records.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// The programs these tests start.
inline const QString kTool = QStringLiteral(OMBRISA_TOOL_PATH);
inline const QString kHelper = QStringLiteral(OMBRISA_STORAGE_HELPER);

// Every field of a card the helper's churn wrote holds the same generation: no card is half old, half new.
inline ::testing::AssertionResult wholeCard(const ombrisa::TRecCliente& card) {
    using namespace ombrisa;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&card);
    const QString generation = GetText(bytes, kClienteFields[0]);
    if (!generation.startsWith(QLatin1Char('G')))
        return ::testing::AssertionFailure() << "not a card of the helper: " << generation.toStdString();
    for (const FieldDef& f : kClienteFields)
        if (GetText(bytes, f) != generation.left(static_cast<qsizetype>(f.capacity)))
            return ::testing::AssertionFailure() << "field " << f.name << " holds " << GetText(bytes, f).toStdString()
                                                 << " beside " << generation.toStdString();
    return ::testing::AssertionSuccess();
}

// Starts `program` with `args`, its output going to `stdoutFd` (-1: /dev/null). Returns the pid.
inline pid_t startProgram(const QString& program, const QStringList& args, int stdoutFd = -1) {
    QList<QByteArray> storage{QFile::encodeName(program)};
    for (const QString& a : args)
        storage << QFile::encodeName(a);
    std::vector<char*> argv;
    for (QByteArray& a : storage)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits for `pid`; its exit code, or -1 when it did not exit normally.
inline int waitProgram(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs `command` through the shell (for redirections such as "> /dev/full"); its exit code.
inline int runShell(const QString& command) {
    const pid_t pid = startProgram(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}, 2);
    return pid < 0 ? -1 : waitProgram(pid);
}

inline QString shellQuote(const QString& s) {
    QString q = s;
    q.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}
