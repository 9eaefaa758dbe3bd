#pragma once

// The platform services through which screens reach the world outside the program: message boxes,
// file choosers, opening a document / web address / e-mail, the clock, camera frames and modal dialogs. Each has a
// production implementation, installed from the start, and a test implementation (tests/uisupport)
// that a test installs with the matching set...() call. Passing nullptr restores production.
// The application folder is core's appFolder() / setAppFolderOverride().

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QString>
#include <QUrl>

class QDialog;
class QWidget;

namespace ombrisa {

// ---- Messages -----------------------------------------------------------------------------------

// The kinds of message box the program shows. The kind fixes the icon and the buttons:
// Warning → OK + Annulla; Information, Error, Plain (no icon) → OK alone (there is nothing to choose);
// Confirmation → Sì + No. askYesNoCancel: a Confirmation with Sì + No + Annulla.
enum class MsgKind { Warning, Information, Error, Confirmation, Plain };
enum class MsgButtons { OkCancel, YesNo, Ok, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

MsgButtons buttonsOf(MsgKind kind);

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows a modal box over `parent` and returns the button pressed. `defaultButton` is the one Enter
    // presses (one of `buttons`).
    virtual MsgAnswer show(QWidget* parent, MsgKind kind, MsgButtons buttons, const QString& text,
                           MsgAnswer defaultButton) = 0;
};
MessageService& messageService();
void setMessageService(MessageService* service);

// Shorthands for the program's five combinations. Only confirm() has an answer that matters.
void showWarning(QWidget* parent, const QString& text);
void showInformation(QWidget* parent, const QString& text);
void showError(QWidget* parent, const QString& text);
bool confirm(QWidget* parent, const QString& text); // true for Sì
// A question whose Sì loses something (forgetting a client, a new empty archive, discarding a card being
// written): Enter answers No, so a stray Enter while typing never does it. True for Sì.
bool confirmDestructive(QWidget* parent, const QString& text);
void showPlain(QWidget* parent, const QString& text);
// Yes, No or Cancel (closing the box is Cancel).
MsgAnswer askYesNoCancel(QWidget* parent, const QString& text);

// ---- File choosers ------------------------------------------------------------------------------

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen path, or an empty text when the user cancels. `filter` as in QFileDialog. A name chosen
    // without an extension that is not an existing file stands for the name with `defaultSuffix`
    // ("jpg", without the dot): see withDefaultSuffixToOpen (filedialogs.h).
    virtual QString openFile(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                             const QString& defaultSuffix = QString()) = 0;
    // As openFile, for a file to write: `suggested` is the proposed name (or path). A name chosen without
    // an extension gets `defaultSuffix` ("jpg", without the dot) before the chooser asks whether to
    // replace an existing file, so the path returned is the file that will be written.
    virtual QString saveFile(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter,
                             const QString& defaultSuffix = QString()) = 0;
};
FileChooser& fileChooser();
void setFileChooser(FileChooser* chooser);
// The save choosers' rule for a name chosen without an extension: when the last part of `path` has no
// ".", it gets "." + `suffix`. An empty path or suffix leaves the path as it is.
QString withDefaultSuffix(const QString& path, const QString& suffix);

// ---- Opening documents, web addresses and e-mail messages ---------------------------------------

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Hands the address to the user's default application. False when no application took it (none
    // installed or configured for it).
    virtual bool open(const QUrl& url) = 0;
};
UrlOpener& urlOpener();
void setUrlOpener(UrlOpener* opener);

// ---- Clock --------------------------------------------------------------------------------------

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
    QTime time() const { return now().time(); }
};
const Clock& clock();
void setClock(const Clock* clock);

// ---- Camera frames ----------------------------------------------------------------------------

// The default camera as a source of frames (production: ui/common/camerasource.cpp). start() asks the
// camera to run; it returns false, with a one-line Italian reason, when there is no camera or it cannot
// start. A camera that fails later emits failed(). frameReady may be emitted on a thread of the camera
// service: receivers living on the user-interface thread take it through a queued connection.
class FrameSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool start(QString& whyNot) = 0;
    virtual void stop() = 0;

signals:
    void frameReady(const QImage& frame);
    void failed(const QString& why);
};
FrameSource& frameSource();
void setFrameSource(FrameSource* source);

// ---- Modal dialogs ------------------------------------------------------------------------------

// How a modal dialog is run. Production: QDialog::exec(). Tests: the dialog is shown without a
// nested event loop and the test's own steps act on it (see tests/uisupport/fakes.h).
class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    virtual int run(QDialog& dialog) = 0;
};
DialogRunner& dialogRunner();
void setDialogRunner(DialogRunner* runner);

// The one way the program opens a dialog: the caller creates it with its owner as parent
// (`new TfrmGuida(this)`) and prepares it; execDialog shows it modally, destroys it when it closes
// and returns its result (QDialog::Accepted / Rejected).
int execDialog(QDialog* dialog);

} // namespace ombrisa
