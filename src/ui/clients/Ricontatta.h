#pragma once

// frmRicontatta: the clients whose card says to call them back, one line each, sorted. Opened by the
// client card screen's cmdRicontatta; a double-click loads the line's card into that screen.

#include <QDialog>
#include <cstdint>

class QLabel;
class QPushButton;

namespace ombrisa {

class CardLineList;
class FindBox;
class PictureBox;
class TfrmClienti;

class TfrmRicontatta : public QDialog {
    Q_OBJECT
public:
    // `caller` is the client card screen that receives the card picked.
    explicit TfrmRicontatta(TfrmClienti* caller);

    PictureBox* imgLogo;
    QLabel* icoIstruzioni;
    PictureBox* imgLente;
    FindBox* findBox;
    CardLineList* lstRecords;
    QLabel* lblRigo03;
    QPushButton* btnStampa;
    QPushButton* btnChiudi;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void fill();
    void lstRecordsDblClick(std::int64_t card);

    TfrmClienti* caller_;
};

// cmdRicontatta's click.
void openRicontatta(TfrmClienti* caller);

} // namespace ombrisa
