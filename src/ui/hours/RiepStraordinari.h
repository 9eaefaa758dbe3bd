#pragma once

// The hours summary: the works of one agent within the interval chosen on the interval screen, their
// count and total hours; find, print and help. Created by the interval screen for each summary.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ombrisa {

class CardLineList;
class FindBox;
class PictureBox;
class TfrmMenuRiepStraordinari;

class TfrmRiepStraordinari : public QDialog {
    Q_OBJECT
public:
    // Reads the interval screen's txtCliente, lblDataInizio and lblDataFine while loading.
    explicit TfrmRiepStraordinari(TfrmMenuRiepStraordinari* menu);

    QLabel* titTipologia = nullptr;
    CardLineList* lstRecords; // each line carries the number of its record
    QLabel* lblIntervallo = nullptr;
    QLabel* lblTrovate = nullptr;
    QLabel* lblTotCosti = nullptr;
    QLineEdit* txtTrova = nullptr;
    QPushButton* btnTrova = nullptr;
    QPushButton* btnStampa = nullptr;
    QPushButton* btnEsci = nullptr;
    PictureBox* imgGuida = nullptr;

    // The find text remembered by every summary for the whole run.
    static QString& rememberedFindText();

public slots:
    void btnStampaClick();
    void imgGuidaClick();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void load();

    TfrmMenuRiepStraordinari* menu_;
    bool loaded_ = false;
    qsizetype leftOut_ = 0; // records the shown total leaves out, said on the printout too
    bool readWhole_ = true;
};

} // namespace ombrisa
