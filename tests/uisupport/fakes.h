#pragma once

// Test implementations of the platform services, and UiTest, the fixture that installs them all in a
// fresh program folder. A message box, file chooser or dialog that the test did not announce with
// expect...() fails the test; so does an announced one that never appeared.

#include "printsupport/fileprinterservice.h"
#include "testsupport/qtprint.h"
#include "ui/common/services.h"

#include <QDateTime>
#include <QDialog>
#include <QList>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// gtest prints sizes as 1366x690 (the layout tests' window sizes). Every GUI test file sees this through this
// header, so that all of a program's files print a size alike.
inline void PrintTo(const QSize& size, std::ostream* os) {
    *os << size.width() << 'x' << size.height();
}

namespace ombrisa::test {

struct ShownMessage {
    MsgKind kind;
    MsgButtons buttons;
    QString text;
    MsgAnswer defaultButton; // the button Enter presses
};

class TestMessages final : public MessageService {
public:
    // The next box must have this kind and exactly this text; it returns `answer`.
    void expect(MsgKind kind, const QString& text, MsgAnswer answer = MsgAnswer::Ok);
    MsgAnswer show(QWidget* parent, MsgKind kind, MsgButtons buttons, const QString& text,
                   MsgAnswer defaultButton) override;
    // Every box shown, in order.
    QList<ShownMessage> shown;
    // Fails for each announced box that never appeared, then forgets them.
    void verifyAllShown();

private:
    struct Expected {
        MsgKind kind;
        QString text;
        MsgAnswer answer;
    };
    std::deque<Expected> expected_;
};

class TestFileChooser final : public FileChooser {
public:
    // The next chooser returns `path` (empty: the user cancels).
    void expectOpen(const QString& path);
    void expectSave(const QString& path);
    // Both answer as the real choosers do: an announced name without an extension gets the default suffix
    // (a load chooser only when no such file exists, see withDefaultSuffix).
    QString openFile(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                     const QString& defaultSuffix = QString()) override;
    QString saveFile(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter,
                     const QString& defaultSuffix = QString()) override;
    bool ignoresDefaultSuffix = false; // answers as a platform dialog that leaves names as typed
    QStringList captions;              // caption of every chooser shown
    QStringList suggested;             // folder or suggested name of every chooser shown
    void verifyAllShown();

private:
    std::deque<std::pair<bool, QString>> answers_; // (save?, path)
};

class TestOpener final : public UrlOpener {
public:
    // Records every address; those in `refused` fail as on a desktop without a program for them.
    bool open(const QUrl& url) override {
        opened.append(url);
        return !refused.contains(url);
    }
    QList<QUrl> opened;
    QList<QUrl> refused;
};

class FixedClock final : public Clock {
public:
    QDateTime now() const override { return now_; }
    void set(const QDateTime& now) { now_ = now; }

private:
    QDateTime now_{QDate(2024, 3, 5), QTime(10, 30)};
};

// The camera. By default there is none and start() fails as on a machine without a camera; with
// `present` set it starts, and the test sends frames with deliver(), from any thread.
class TestFrameSource final : public FrameSource {
public:
    bool start(QString& whyNot) override;
    void stop() override;
    void deliver(const QImage& frame) { emit frameReady(frame); }
    void fail(const QString& why) { emit failed(why); }
    bool present = false;
    QString missingText = QStringLiteral("Nessuna webcam trovata.");
    bool running = false;
    int starts = 0;
    int stops = 0;
};

// Dialogs are shown without a nested event loop; the announced steps run on the open dialog and
// should close it (click its button, accept() or reject()). A dialog left open fails the test.
class TestDialogs final : public DialogRunner {
public:
    using Steps = std::function<void(QDialog&)>;
    void expect(const QString& objectName, Steps steps);
    int run(QDialog& dialog) override;
    QStringList opened; // objectName of every dialog run, in order
    void verifyAllShown();

private:
    std::deque<std::pair<QString, Steps>> expected_;
};

// Installs the test services and points the program at an empty temporary folder.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString& name) const { return dir.filePath(name); }
    QByteArray bytes(const QString& name) const;
    void write(const QString& name, const QByteArray& content) const;

    QTemporaryDir dir;
    TestMessages messages;
    TestFileChooser files;
    TestOpener opener;
    FixedClock clock;
    TestDialogs dialogs;
    TestFrameSource camera;
    // Prints land as PDF files in the test folder (stampa-1.pdf…); previews are recorded, not shown.
    std::unique_ptr<FilePrinterService> printer;
};

} // namespace ombrisa::test
