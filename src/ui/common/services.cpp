#include "ui/common/services.h"

#include "ui/common/dialoglook.h"
#include "ui/common/filedialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace ombrisa {
namespace {

QMessageBox::StandardButton standardButton(MsgAnswer answer) {
    switch (answer) {
    case MsgAnswer::Ok:
        return QMessageBox::Ok;
    case MsgAnswer::Cancel:
        return QMessageBox::Cancel;
    case MsgAnswer::Yes:
        return QMessageBox::Yes;
    case MsgAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

class BoxMessages final : public MessageService {
public:
    MsgAnswer show(QWidget* parent, MsgKind kind, MsgButtons buttons, const QString& text,
                   MsgAnswer defaultButton) override {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title = QStringLiteral("Ombrisa");
        switch (kind) {
        case MsgKind::Warning:
            icon = QMessageBox::Warning;
            title = QStringLiteral("Attenzione");
            break;
        case MsgKind::Information:
            icon = QMessageBox::Information;
            title = QStringLiteral("Informazione");
            break;
        case MsgKind::Error:
            icon = QMessageBox::Critical;
            title = QStringLiteral("Errore");
            break;
        case MsgKind::Confirmation:
            icon = QMessageBox::Question;
            title = QStringLiteral("Conferma");
            break;
        case MsgKind::Plain:
            break;
        }
        QMessageBox::StandardButtons set = QMessageBox::Ok;
        if (buttons == MsgButtons::OkCancel)
            set = QMessageBox::Ok | QMessageBox::Cancel;
        else if (buttons == MsgButtons::YesNo)
            set = QMessageBox::Yes | QMessageBox::No;
        else if (buttons == MsgButtons::YesNoCancel)
            set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        QMessageBox box(icon, title, text, set, parent);
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(standardButton(defaultButton));
        applyMessageBoxLook(box);
        switch (box.exec()) {
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default:
            return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
        }
    }
};

class DialogChooser final : public FileChooser {
public:
    QString openFile(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                     const QString& defaultSuffix) override {
        return chooseFileToOpen(parent, caption, folder, filter, defaultSuffix);
    }
    QString saveFile(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter,
                     const QString& defaultSuffix) override {
        QFileDialog dialog(parent, caption, suggested, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(defaultSuffix); // added before the question about replacing a file
        italianiseFileDialog(dialog);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        // The dialog applies the rule itself; a platform dialog may not.
        return withDefaultSuffix(dialog.selectedFiles().constFirst(), defaultSuffix);
    }
};

class DesktopOpener final : public UrlOpener {
public:
    bool open(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class ExecRunner final : public DialogRunner {
public:
    int run(QDialog& dialog) override { return dialog.exec(); }
};

} // namespace

QString withDefaultSuffix(const QString& path, const QString& suffix) {
    const QStringView name = QStringView(path).mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (path.isEmpty() || suffix.isEmpty() || name.contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + suffix;
}

namespace {

BoxMessages gBoxMessages;
DialogChooser gDialogChooser;
DesktopOpener gDesktopOpener;
SystemClock gSystemClock;
ExecRunner gExecRunner;
MessageService* gMessages = nullptr;
FileChooser* gChooser = nullptr;
UrlOpener* gOpener = nullptr;
const Clock* gClock = nullptr;
DialogRunner* gRunner = nullptr;

} // namespace

MsgButtons buttonsOf(MsgKind kind) {
    switch (kind) {
    case MsgKind::Confirmation:
        return MsgButtons::YesNo;
    case MsgKind::Warning:
        return MsgButtons::OkCancel;
    default:
        return MsgButtons::Ok;
    }
}

MessageService& messageService() {
    return gMessages ? *gMessages : gBoxMessages;
}
void setMessageService(MessageService* service) {
    gMessages = service;
}

void showWarning(QWidget* parent, const QString& text) {
    messageService().show(parent, MsgKind::Warning, buttonsOf(MsgKind::Warning), text, MsgAnswer::Ok);
}
void showInformation(QWidget* parent, const QString& text) {
    messageService().show(parent, MsgKind::Information, buttonsOf(MsgKind::Information), text, MsgAnswer::Ok);
}
void showError(QWidget* parent, const QString& text) {
    messageService().show(parent, MsgKind::Error, buttonsOf(MsgKind::Error), text, MsgAnswer::Ok);
}
bool confirm(QWidget* parent, const QString& text) {
    return messageService().show(parent, MsgKind::Confirmation, buttonsOf(MsgKind::Confirmation), text,
                                 MsgAnswer::Yes) == MsgAnswer::Yes;
}
bool confirmDestructive(QWidget* parent, const QString& text) {
    return messageService().show(parent, MsgKind::Confirmation, buttonsOf(MsgKind::Confirmation), text,
                                 MsgAnswer::No) == MsgAnswer::Yes;
}
void showPlain(QWidget* parent, const QString& text) {
    messageService().show(parent, MsgKind::Plain, buttonsOf(MsgKind::Plain), text, MsgAnswer::Ok);
}
MsgAnswer askYesNoCancel(QWidget* parent, const QString& text) {
    return messageService().show(parent, MsgKind::Confirmation, MsgButtons::YesNoCancel, text, MsgAnswer::Yes);
}

FileChooser& fileChooser() {
    return gChooser ? *gChooser : gDialogChooser;
}
void setFileChooser(FileChooser* chooser) {
    gChooser = chooser;
}

UrlOpener& urlOpener() {
    return gOpener ? *gOpener : gDesktopOpener;
}
void setUrlOpener(UrlOpener* opener) {
    gOpener = opener;
}

const Clock& clock() {
    return gClock ? *gClock : gSystemClock;
}
void setClock(const Clock* c) {
    gClock = c;
}

DialogRunner& dialogRunner() {
    return gRunner ? *gRunner : gExecRunner;
}
void setDialogRunner(DialogRunner* runner) {
    gRunner = runner;
}

int execDialog(QDialog* dialog) {
    if (!dialog)
        return QDialog::Rejected;
    QPointer<QDialog> guard(dialog);
    const int result = dialogRunner().run(*dialog);
    delete guard.data(); // null when the owner already destroyed it
    return result;
}

} // namespace ombrisa
