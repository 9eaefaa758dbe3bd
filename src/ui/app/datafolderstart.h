#pragma once

// The data folder at start-up, with the user when it is needed: a named folder (--data, the saved choice
// or OMBRISA_DATA) that holds none of the program's files is never turned into a new, empty archive behind
// the user's back. It may be a network share that is not mounted, and working on a local copy would
// split the office's data in two.

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;
class QSettings;

namespace ombrisa {

// The question when the folder looks empty: choose another folder, retry, start a new archive there
// (after a second confirmation) or quit. done() gets one of the Answer values.
class TfrmCartellaDati : public QDialog {
    Q_OBJECT
public:
    enum Answer { Esci = 0, Riprova = 10, ScegliAltra = 11, NuovoArchivio = 12 };
    TfrmCartellaDati(QWidget* parent, const QString& message);

    QLabel* lblMessaggio;
    QPushButton* btnScegli;
    QPushButton* btnRiprova;
    QPushButton* btnNuovo;
    QPushButton* btnEsci;
};

// The second confirmation before a new archive is started in a folder that looks empty.
QString newArchiveQuestion(const QString& folder);

// Chooses and prepares the data folder (startDataFolder), asking the user whenever the folder looks
// empty, and says when a new archive was started at the user's request. `chooseFolder` picks
// another folder (production: the system's folder dialog); an empty answer keeps asking. False when the
// program must end (the user quit, or the folder cannot be used: the message was shown). Not
// `interactive` (a start that only checks itself, with nobody to answer), nothing is asked or shown:
// a folder that looks empty ends the program with the message on standard error. Once the folder is
// chosen, what it lacks as a shared folder (sharedFolderProblems) is shown as a warning.
bool openDataFolder(const QString& option, QSettings& settings, const std::function<QString()>& chooseFolder,
                    bool interactive = true);

} // namespace ombrisa
