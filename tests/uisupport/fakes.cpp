#include "fakes.h"

#include "ui/common/filedialogs.h"

#include "core/storage/appfolder.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

namespace ombrisa::test {
namespace {
const char* kindName(MsgKind kind) {
    switch (kind) {
    case MsgKind::Warning:
        return "warning";
    case MsgKind::Information:
        return "information";
    case MsgKind::Error:
        return "error";
    case MsgKind::Confirmation:
        return "confirmation";
    case MsgKind::Plain:
        return "plain";
    }
    return "?";
}
} // namespace

void TestMessages::expect(MsgKind kind, const QString& text, MsgAnswer answer) {
    expected_.push_back({kind, text, answer});
}

MsgAnswer TestMessages::show(QWidget*, MsgKind kind, MsgButtons buttons, const QString& text, MsgAnswer defaultButton) {
    shown.append({kind, buttons, text, defaultButton});
    if (expected_.empty()) {
        ADD_FAILURE() << "unexpected " << kindName(kind) << " message: " << text.toStdString();
        return buttons == MsgButtons::YesNo ? MsgAnswer::No
               : buttons == MsgButtons::Ok  ? MsgAnswer::Ok
                                            : MsgAnswer::Cancel;
    }
    const Expected e = expected_.front();
    expected_.pop_front();
    EXPECT_EQ(text.toStdString(), e.text.toStdString());
    EXPECT_STREQ(kindName(kind), kindName(e.kind)) << "message: " << text.toStdString();
    // A confirmation asks Sì / No, or Sì / No / Annulla (askYesNoCancel); the kind fixes the others.
    const bool threeWay = e.kind == MsgKind::Confirmation && buttons == MsgButtons::YesNoCancel;
    if (!threeWay) {
        EXPECT_EQ(buttons, buttonsOf(e.kind)) << "message: " << text.toStdString();
    }
    EXPECT_TRUE(e.answer != MsgAnswer::Cancel || buttons != MsgButtons::YesNo)
        << "Annulla answered to a Sì / No box: " << text.toStdString();
    return e.answer;
}

void TestMessages::verifyAllShown() {
    for (const Expected& e : expected_)
        ADD_FAILURE() << "expected " << kindName(e.kind) << " message never shown: " << e.text.toStdString();
    expected_.clear();
}

void TestFileChooser::expectOpen(const QString& path) {
    answers_.push_back({false, path});
}
void TestFileChooser::expectSave(const QString& path) {
    answers_.push_back({true, path});
}

QString TestFileChooser::openFile(QWidget*, const QString& caption, const QString& folder, const QString&,
                                  const QString& defaultSuffix) {
    captions.append(caption);
    suggested.append(folder);
    if (answers_.empty() || answers_.front().first) {
        ADD_FAILURE() << "unexpected file-open chooser: " << caption.toStdString();
        return {};
    }
    const QString path = answers_.front().second;
    answers_.pop_front();
    return withDefaultSuffixToOpen(path, defaultSuffix);
}

QString TestFileChooser::saveFile(QWidget*, const QString& caption, const QString& name, const QString&,
                                  const QString& defaultSuffix) {
    captions.append(caption);
    suggested.append(name);
    if (answers_.empty() || !answers_.front().first) {
        ADD_FAILURE() << "unexpected file-save chooser: " << caption.toStdString();
        return {};
    }
    QString path = answers_.front().second;
    answers_.pop_front();
    return ignoresDefaultSuffix ? path : withDefaultSuffix(path, defaultSuffix);
}

void TestFileChooser::verifyAllShown() {
    for (const auto& a : answers_)
        ADD_FAILURE() << "expected file chooser never shown (answer " << a.second.toStdString() << ")";
    answers_.clear();
}

void TestDialogs::expect(const QString& objectName, Steps steps) {
    expected_.push_back({objectName, std::move(steps)});
}

int TestDialogs::run(QDialog& dialog) {
    opened.append(dialog.objectName());
    dialog.setResult(QDialog::Rejected);
    if (expected_.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog.objectName().toStdString();
        return QDialog::Rejected;
    }
    auto [name, steps] = std::move(expected_.front());
    expected_.pop_front();
    EXPECT_EQ(dialog.objectName().toStdString(), name.toStdString());
    dialog.show();
    QApplication::processEvents();
    if (steps)
        steps(dialog);
    if (dialog.isVisible()) {
        ADD_FAILURE() << "dialog left open: " << dialog.objectName().toStdString();
        dialog.hide();
    }
    return dialog.result();
}

void TestDialogs::verifyAllShown() {
    for (const auto& e : expected_)
        ADD_FAILURE() << "expected dialog never opened: " << e.first.toStdString();
    expected_.clear();
}

void UiTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    setAppFolderOverride(dir.path());
    setMessageService(&messages);
    setFileChooser(&files);
    setUrlOpener(&opener);
    setClock(&clock);
    setDialogRunner(&dialogs);
    setFrameSource(&camera);
    printer = std::make_unique<FilePrinterService>(dir.path());
    setPrinterService(printer.get());
}

void UiTest::TearDown() {
    messages.verifyAllShown();
    files.verifyAllShown();
    dialogs.verifyAllShown();
    setMessageService(nullptr);
    setFileChooser(nullptr);
    setUrlOpener(nullptr);
    setClock(nullptr);
    setDialogRunner(nullptr);
    setFrameSource(nullptr);
    setPrinterService(nullptr);
    setAppFolderOverride({});
}

bool TestFrameSource::start(QString& whyNot) {
    ++starts;
    if (!present) {
        whyNot = missingText;
        return false;
    }
    running = true;
    return true;
}

void TestFrameSource::stop() {
    ++stops;
    running = false;
}

QByteArray UiTest::bytes(const QString& name) const {
    QFile f(path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void UiTest::write(const QString& name, const QByteArray& content) const {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(content), content.size());
}

} // namespace ombrisa::test
