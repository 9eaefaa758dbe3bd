#pragma once

#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A fresh program folder for one test: the program's files land there and nowhere else.
class TestFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ombrisa::setAppFolderOverride(dir.path());
    }
    void TearDown() override { ombrisa::setAppFolderOverride({}); }

    QString path(const QString& name) const { return dir.filePath(name); }
    QByteArray bytes(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString& name, const QByteArray& content) const {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(content), content.size());
    }

    QTemporaryDir dir;
};

// Makes other workstations' locks time out after `milliseconds` for the scope; the program's own wait
// comes back at its end, however the test ends.
class ScopedLockTimeout {
public:
    explicit ScopedLockTimeout(int milliseconds) { ombrisa::TRecordFile::SetLockTimeoutMs(milliseconds); }
    ~ScopedLockTimeout() { ombrisa::TRecordFile::SetLockTimeoutMs(kProgramLockTimeoutMs); }
    ScopedLockTimeout(const ScopedLockTimeout&) = delete;
    ScopedLockTimeout& operator=(const ScopedLockTimeout&) = delete;

    static constexpr int kProgramLockTimeoutMs = 15000;
};
