#pragma once

// The backup screen, opened from the start menu: makes a backup of the data folder (a name with date and
// time in the folder used last time), checks one, restores one over the data folder after a question,
// and sets after how many days the start menu reminds the user. The work runs with a progress bar and
// "Annulla"; the window's other buttons wait meanwhile. The rules are core's (core/backup).

#include "core/backup/backup.h"

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace ombrisa {

class TfrmCopiaSicurezza : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCopiaSicurezza(QWidget* parent);

    QLabel* lblCartellaDati;
    QLabel* lblUltima;
    QPushButton* btnCopia;
    QPushButton* btnControlla;
    QPushButton* btnRipristina;
    QSpinBox* txtGiorni;
    QLabel* lblStato;
    QProgressBar* prgAvanzamento;
    QPushButton* btnAnnulla;
    QPushButton* btnGuida;
    QPushButton* btnChiudi;

    void btnCopiaClick();
    void btnControllaClick();
    void btnRipristinaClick();
    // True once a backup was completed in this window.
    bool backupMade() const { return backupMade_; }
    bool running() const { return running_; }

signals:
    // The work advanced to `permille` thousandths (emitted before the window handles pending events).
    void progressed(int permille);

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showLast();
    void setRunning(bool running, const QString& what);
    bool step(qint64 done, qint64 total);
    // Runs `work` with the progress bar and "Annulla"; a failure or a cancel is said here. True on success.
    using Work = std::function<bool(const BackupProgress& progress, QString* error)>;
    bool runWork(const QString& what, const Work& work);
    QString chooserFolder() const;

    bool running_ = false;
    bool cancel_ = false;
    bool backupMade_ = false;
};

// Opens the backup screen over `parent`; true when a backup was made.
bool openCopiaSicurezza(QWidget* parent);

} // namespace ombrisa
