#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace ombrisa::test {

// How a program run ended: its exit code (-1: it did not end in time, -2: it
// crashed) and what it wrote.
struct ToolRun {
  int code = -1;
  QByteArray out, err;
};
// The same, with the output read as UTF-8 text.
struct ToolTextRun {
  int code = -1;
  QString out, err;
};

// Runs `program` with `args` and waits for it, at most `timeoutMs`.
inline ToolRun runProgram(const QString &program, const QStringList &args,
                          int timeoutMs = 120000) {
  QProcess p;
  p.start(program, args);
  ToolRun r;
  if (!p.waitForFinished(timeoutMs))
    return r;
  r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.out = p.readAllStandardOutput();
  r.err = p.readAllStandardError();
  return r;
}

#ifdef OMBRISA_TOOL_PATH
// ombrisa-tool with `args`.
inline ToolRun runTool(const QStringList &args) {
  return runProgram(QStringLiteral(OMBRISA_TOOL_PATH), args);
}
inline ToolTextRun runToolText(const QStringList &args) {
  const ToolRun r = runTool(args);
  return {r.code, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}
#endif

} // namespace ombrisa::test
