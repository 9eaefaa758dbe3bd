#include "ui/app/datafolderstart.h"

#include "core/storage/appfolder.h"
#include "core/storage/datafolder.h"
#include "core/storage/sharedfolder.h"
#include "ui/common/conventions.h"
#include "ui/common/dialoglook.h"
#include "ui/common/services.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <cstdio>

namespace ombrisa {

TfrmCartellaDati::TfrmCartellaDati(QWidget* parent, const QString& message) : QDialog(parent) {
    setObjectName(QStringLiteral("frmCartellaDati"));
    setWindowTitle(QStringLiteral(" Cartella dei dati"));
    applyDialogLook(this);
    lblMessaggio = new QLabel(message, this);
    lblMessaggio->setObjectName(QStringLiteral("lblMessaggio"));
    lblMessaggio->setWordWrap(true);
    lblMessaggio->setMinimumWidth(520);
    btnScegli = new QPushButton(QStringLiteral("Scegli un'altra cartella..."), this);
    btnScegli->setObjectName(QStringLiteral("btnScegli"));
    btnRiprova = new QPushButton(QStringLiteral("Riprova"), this);
    btnRiprova->setObjectName(QStringLiteral("btnRiprova"));
    btnNuovo = new QPushButton(QStringLiteral("Crea un archivio nuovo qui..."), this);
    btnNuovo->setObjectName(QStringLiteral("btnNuovo"));
    btnEsci = new QPushButton(QStringLiteral("Esci"), this);
    btnEsci->setObjectName(QStringLiteral("btnEsci"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btnScegli, btnRiprova, btnNuovo, btnEsci}) {
        b->setAutoDefault(false);
        makeClickable(b);
        buttons->addWidget(b);
    }
    btnRiprova->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->setSpacing(16);
    layout->addWidget(lblMessaggio);
    layout->addLayout(buttons);
    connect(btnScegli, &QPushButton::clicked, this, [this] { done(ScegliAltra); });
    connect(btnRiprova, &QPushButton::clicked, this, [this] { done(Riprova); });
    connect(btnNuovo, &QPushButton::clicked, this, [this] { done(NuovoArchivio); });
    connect(btnEsci, &QPushButton::clicked, this, [this] { done(Esci); });
}

QString newArchiveQuestion(const QString& folder) {
    return QStringLiteral("Creare davvero un archivio nuovo e vuoto nella cartella «%1»?\n\nSe la cartella è una "
                          "cartella di rete non collegata, i dati verrebbero scritti sul disco di questo computer e "
                          "non sulla cartella condivisa.")
        .arg(QDir::toNativeSeparators(folder));
}

namespace {

// A folder where saves cannot create their journal, or whose locks do not reach the other workstations,
// is still used (reading works, and one workstation alone is safe), but the user is told once, now.
void warnAboutSharedFolder(bool interactive) {
    QStringList problems = sharedFolderRightsProblems(appFolder());
    if (const QString locks = sharedFolderLockProblem(appFolder()); !locks.isEmpty())
        problems << locks;
    if (problems.isEmpty())
        return;
    const QString text = problems.join(QStringLiteral("\n\n"));
    if (interactive)
        showWarning(nullptr, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

bool openDataFolder(const QString& option, QSettings& settings, const std::function<QString()>& chooseFolder,
                    bool interactive) {
    QString folderOption = option;
    bool startNew = false;
    for (;;) {
        QString message;
        DataFolderChoice chosen;
        const DataFolderStatus status = startDataFolder(folderOption, settings, &chosen, &message, startNew);
        switch (status) {
        case DataFolderStatus::Ready:
            warnAboutSharedFolder(interactive);
            return true;
        case DataFolderStatus::NewArchive:
            if (!message.isEmpty() && interactive)
                showInformation(nullptr, message);
            warnAboutSharedFolder(interactive);
            return true;
        case DataFolderStatus::Failed:
            if (interactive)
                showError(nullptr, message);
            else
                std::fprintf(stderr, "%s\n", qPrintable(message));
            return false;
        case DataFolderStatus::LooksEmpty:
            if (!interactive) {
                std::fprintf(stderr, "%s\n", qPrintable(message));
                return false;
            }
            break;
        }
        switch (execDialog(new TfrmCartellaDati(nullptr, message))) {
        case TfrmCartellaDati::Riprova:
            break;
        case TfrmCartellaDati::ScegliAltra:
            if (const QString other = chooseFolder(); !other.isEmpty())
                folderOption = other; // used and remembered as if given with --data
            break;
        case TfrmCartellaDati::NuovoArchivio: {
            startNew = confirmDestructive(nullptr, newArchiveQuestion(QDir(chosen.folder).absolutePath()));
            break;
        }
        default:
            return false;
        }
    }
}

} // namespace ombrisa
