#pragma once

#include "report/preparedreport.h"
#include "testsupport/qtprint.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <gtest/gtest.h>
#include <ostream>


namespace ombrisa::report::test {

// The one item of that name on the page; fails the test when there is not exactly one.
inline const PreparedItem& only(const PreparedReport& report, int page, const QString& name) {
    const auto found = report.find(page, name);
    EXPECT_EQ(found.size(), 1) << name.toStdString();
    static const PreparedItem none;
    return found.isEmpty() ? none : *found.first();
}

// The text poppler finds in a PDF file (layout kept, so a row's caption and value share a line).
inline QString pdfText(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed: %1>").arg(QString::fromLocal8Bit(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// With OMBRISA_TEST_OUTPUT set to a folder, a copy of a written file lands there to be looked at.
inline void keepCopy(const QString& path, const QString& name) {
    const QString folder = qEnvironmentVariable("OMBRISA_TEST_OUTPUT");
    if (!folder.isEmpty()) {
        QFile::remove(folder + QLatin1Char('/') + name);
        QFile::copy(path, folder + QLatin1Char('/') + name);
    }
}

} // namespace ombrisa::report::test
