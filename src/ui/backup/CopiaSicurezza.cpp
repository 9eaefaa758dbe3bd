#include "ui/backup/CopiaSicurezza.h"

#include "core/backup/backup.h"
#include "core/backup/backupsettings.h"
#include "core/storage/appfolder.h"
#include "core/storage/presence.h"
#include "ui/app/guida.h"
#include "ui/common/conventions.h"
#include "ui/common/dialoglook.h"
#include "ui/common/helptexts.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace ombrisa {
namespace {

const QString kFilter = QStringLiteral("Copie di sicurezza di Ombrisa (*.tar.zst)");
const QString kSuffix = QStringLiteral("tar.zst");

QString dataFolder() {
    return QDir::cleanPath(appFolder());
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, bool primary = false) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setProperty("primary", primary);
    makeClickable(b);
    return b;
}

QLabel* note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: #3D5566;"));
    return label;
}

} // namespace

TfrmCopiaSicurezza::TfrmCopiaSicurezza(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCopiaSicurezza"));
    setWindowTitle(QStringLiteral(" Copia di sicurezza degli archivi"));
    applyDialogLook(this);

    auto* titolo = new QLabel(QStringLiteral("Copia di sicurezza degli archivi"), this);
    titolo->setObjectName(QStringLiteral("lblTitolo"));
    titolo->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 14, true));
    titolo->setStyleSheet(QStringLiteral("color: #275F80;"));
    lblCartellaDati = new QLabel(this);
    lblCartellaDati->setObjectName(QStringLiteral("lblCartellaDati"));
    lblCartellaDati->setWordWrap(true);
    lblCartellaDati->setTextFormat(Qt::PlainText);
    lblCartellaDati->setText(QStringLiteral("Cartella dei dati: %1").arg(shown(dataFolder())));
    lblUltima = new QLabel(this);
    lblUltima->setObjectName(QStringLiteral("lblUltima"));
    lblUltima->setWordWrap(true);
    lblUltima->setTextFormat(Qt::PlainText);

    auto* copia = new QGroupBox(QStringLiteral("Creare una copia"), this);
    btnCopia = button(copia, "btnCopia", QStringLiteral("Crea copia di sicurezza..."), true);
    auto* copiaLayout = new QVBoxLayout(copia);
    copiaLayout->addWidget(
        note(QStringLiteral("Un solo file compresso con tutti gli archivi, i registri dei lavori, le "
                            "foto, i documenti allegati e la password. Le altre postazioni possono "
                            "continuare a lavorare; la copia viene riletta e controllata prima di "
                            "ricevere il suo nome."),
             copia));
    auto* copiaRow = new QHBoxLayout;
    copiaRow->addWidget(btnCopia);
    copiaRow->addStretch(1);
    copiaLayout->addLayout(copiaRow);

    auto* ripristino = new QGroupBox(QStringLiteral("Controllare o ripristinare una copia"), this);
    btnControlla = button(ripristino, "btnControlla", QStringLiteral("Controlla una copia..."));
    btnRipristina = button(ripristino, "btnRipristina", QStringLiteral("Ripristina da una copia..."));
    auto* ripristinoLayout = new QVBoxLayout(ripristino);
    ripristinoLayout->addWidget(
        note(QStringLiteral("Il ripristino sostituisce gli archivi della cartella dei dati con quelli della copia, "
                            "solo se la copia è integra e nessun'altra postazione ha il programma aperto. I file "
                            "sostituiti restano in una cartella \"Sostituiti\" con la data e l'ora."),
             ripristino));
    auto* ripristinoRow = new QHBoxLayout;
    ripristinoRow->addWidget(btnControlla);
    ripristinoRow->addWidget(btnRipristina);
    ripristinoRow->addStretch(1);
    ripristinoLayout->addLayout(ripristinoRow);

    txtGiorni = new QSpinBox(this);
    txtGiorni->setObjectName(QStringLiteral("txtGiorni"));
    txtGiorni->setRange(0, kMaxReminderDays);
    txtGiorni->setSpecialValueText(QStringLiteral("mai"));
    txtGiorni->setSuffix(QStringLiteral(" giorni"));
    auto* promemoria = new QHBoxLayout;
    promemoria->addWidget(new QLabel(QStringLiteral("Ricordare la copia nel menu iniziale dopo"), this));
    promemoria->addWidget(txtGiorni);
    promemoria->addStretch(1);

    lblStato = new QLabel(this);
    lblStato->setObjectName(QStringLiteral("lblStato"));
    lblStato->setTextFormat(Qt::PlainText);
    prgAvanzamento = new QProgressBar(this);
    prgAvanzamento->setObjectName(QStringLiteral("prgAvanzamento"));
    prgAvanzamento->setRange(0, 1000);
    prgAvanzamento->setTextVisible(false);
    btnAnnulla = button(this, "btnAnnulla", QStringLiteral("Annulla"));
    // The bar stays in place (empty while nothing runs), so the window does not change size.
    QSizePolicy keep = btnAnnulla->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    btnAnnulla->setSizePolicy(keep);
    auto* avanzamento = new QHBoxLayout;
    avanzamento->addWidget(prgAvanzamento, 1);
    avanzamento->addWidget(btnAnnulla);

    btnGuida = button(this, "btnGuida", QStringLiteral("Guida"));
    btnChiudi = button(this, "btnChiudi", QStringLiteral("Chiudi"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btnGuida);
    bottom->addStretch(1);
    bottom->addWidget(btnChiudi);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titolo);
    layout->addWidget(lblCartellaDati);
    layout->addWidget(lblUltima);
    layout->addSpacing(6);
    layout->addWidget(copia);
    layout->addWidget(ripristino);
    layout->addLayout(promemoria);
    layout->addSpacing(6);
    layout->addWidget(lblStato);
    layout->addLayout(avanzamento);
    layout->addSpacing(10);
    layout->addStretch(1);
    layout->addLayout(bottom);
    resize(660, sizeHint().height());

    const BackupSettings settings = readBackupSettings(dataFolder());
    txtGiorni->setValue(settings.reminderDays);
    showLast();
    setRunning(false, QString());

    connect(btnCopia, &QPushButton::clicked, this, &TfrmCopiaSicurezza::btnCopiaClick);
    connect(btnControlla, &QPushButton::clicked, this, &TfrmCopiaSicurezza::btnControllaClick);
    connect(btnRipristina, &QPushButton::clicked, this, &TfrmCopiaSicurezza::btnRipristinaClick);
    connect(btnAnnulla, &QPushButton::clicked, this, [this] { cancel_ = true; });
    connect(btnGuida, &QPushButton::clicked, this,
            [this] { showHelp(this, kHelpCopiaSicurezzaTitle, helpCopiaSicurezza()); });
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(txtGiorni, &QSpinBox::valueChanged, this, [](int days) {
        BackupSettings s = readBackupSettings(dataFolder());
        s.reminderDays = days;
        writeBackupSettings(dataFolder(), s);
    });
}

void TfrmCopiaSicurezza::showLast() {
    const BackupSettings s = readBackupSettings(dataFolder());
    if (!s.last.isValid()) {
        lblUltima->setText(QStringLiteral("Nessuna copia di sicurezza registrata per questa cartella."));
        return;
    }
    lblUltima->setText(QStringLiteral("Ultima copia: %1 alle %2, nella cartella %3.")
                           .arg(s.last.toString(QStringLiteral("dd/MM/yyyy")), s.last.toString(QStringLiteral("HH:mm")),
                                shown(s.folder)));
}

void TfrmCopiaSicurezza::setRunning(bool running, const QString& what) {
    running_ = running;
    cancel_ = false;
    for (QWidget* w :
         std::initializer_list<QWidget*>{btnCopia, btnControlla, btnRipristina, txtGiorni, btnGuida, btnChiudi})
        w->setEnabled(!running);
    btnAnnulla->setVisible(running);
    prgAvanzamento->setEnabled(running);
    prgAvanzamento->setValue(0);
    lblStato->setText(what);
}

bool TfrmCopiaSicurezza::step(qint64 done, qint64 total) {
    const int permille = total > 0 ? static_cast<int>(done * 1000 / total) : 1000;
    prgAvanzamento->setValue(permille);
    emit progressed(permille);
    QApplication::processEvents();
    return !cancel_;
}

bool TfrmCopiaSicurezza::runWork(const QString& what, const Work& work) {
    setRunning(true, what);
    QString error;
    const bool ok = work([this](qint64 done, qint64 total) { return step(done, total); }, &error);
    const bool cancelled = cancel_;
    setRunning(false, QString());
    if (ok)
        return true;
    if (cancelled)
        showInformation(this, error);
    else
        showError(this, QStringLiteral("Attenzione: %1").arg(error));
    return false;
}

QString TfrmCopiaSicurezza::chooserFolder() const {
    const QString remembered = readBackupSettings(dataFolder()).folder;
    return !remembered.isEmpty() && QFileInfo(remembered).isDir() ? remembered : QDir::homePath();
}

void TfrmCopiaSicurezza::btnCopiaClick() {
    const QString suggested = QDir(chooserFolder()).filePath(proposedBackupName(clock().now()));
    const QString target =
        fileChooser().saveFile(this, QStringLiteral("Salva la copia di sicurezza"), suggested, kFilter, kSuffix);
    if (target.isEmpty())
        return;
    const bool ok =
        runWork(QStringLiteral("Copia di sicurezza in corso..."), [&](const BackupProgress& progress, QString* error) {
            // The chooser asked before a file of that name is replaced; the old one goes only once the new
            // one has been read back whole.
            return writeBackup(dataFolder(), target, progress, error, BackupTarget::ReplaceExisting);
        });
    if (!ok)
        return;
    const bool remembered = recordBackup(dataFolder(), target, clock().now());
    backupMade_ = true;
    showLast();
    QString text = QStringLiteral("Copia di sicurezza completata e controllata:\n\r\n\r%1").arg(shown(target));
    if (!remembered)
        text += QStringLiteral("\n\r\n\rLa data della copia non si può registrare nella cartella dei dati (sola "
                               "lettura): il promemoria non ne terrà conto.");
    showInformation(this, text);
}

void TfrmCopiaSicurezza::btnControllaClick() {
    const QString file = fileChooser().openFile(this, QStringLiteral("Controlla una copia di sicurezza"),
                                                chooserFolder(), kFilter, kSuffix);
    if (file.isEmpty())
        return;
    if (runWork(QStringLiteral("Controllo della copia in corso..."),
                [&](const BackupProgress& progress, QString* error) {
                    return verifyBackup(file, error, progress) == BackupCheck::Whole;
                }))
        showInformation(this, QStringLiteral("La copia di sicurezza è integra:\n\r\n\r%1").arg(shown(file)));
}

void TfrmCopiaSicurezza::btnRipristinaClick() {
    // Said before a backup is chosen; the restore itself checks again when it replaces the files.
    if (const std::vector<Workstation> others = Presence::Others(dataFolder()); !others.empty()) {
        showError(this, QStringLiteral("Attenzione: %1")
                            .arg(Presence::InUseByOthers(QStringLiteral("Impossibile ripristinare"), others)));
        return;
    }
    const QString file = fileChooser().openFile(this, QStringLiteral("Ripristina una copia di sicurezza"),
                                                chooserFolder(), kFilter, kSuffix);
    if (file.isEmpty())
        return;
    if (!confirm(this, QStringLiteral("Ripristinare la copia \"%1\" nella cartella dei dati \"%2\"?\n\r\n\r"
                                      "Gli archivi attuali saranno sostituiti da quelli della copia e conservati "
                                      "nella cartella \"Sostituiti\" con la data e l'ora. Sulle altre postazioni il "
                                      "programma deve essere chiuso.")
                           .arg(shown(file), shown(dataFolder()))))
        return;
    QString replaced;
    if (!runWork(QStringLiteral("Ripristino in corso..."), [&](const BackupProgress& progress, QString* error) {
            return restoreBackup(file, dataFolder(), error, &replaced, 2000, progress, clock().now());
        }))
        return;
    QString text =
        QStringLiteral("Ripristino completato: gli archivi sono quelli della copia \"%1\".").arg(shown(file));
    if (!replaced.isEmpty())
        text += QStringLiteral("\n\r\n\rI file sostituiti sono nella cartella \"%1\".").arg(shown(replaced));
    showInformation(this, text);
}

void TfrmCopiaSicurezza::reject() {
    // While the work runs, closing the window stands for "Annulla".
    if (running_) {
        cancel_ = true;
        return;
    }
    QDialog::reject();
}

void TfrmCopiaSicurezza::closeEvent(QCloseEvent* event) {
    if (running_) {
        cancel_ = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool openCopiaSicurezza(QWidget* parent) {
    auto* dialog = new TfrmCopiaSicurezza(parent);
    bool made = false;
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, &made] { made = dialog->backupMade(); });
    execDialog(dialog);
    return made;
}

} // namespace ombrisa
