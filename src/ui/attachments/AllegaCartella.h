#pragma once

// The attached files dialog: three slots, each a file name and a description, of the client or agent
// card that opened it. Picking a file copies it into the attachment folder; "Applica e chiudi" hands the
// six values back to the card's hidden labels, and they reach the archive with the card's next save.

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ombrisa {

class CardScreen;
class PictureBox;

class TfrmAllegaCartella : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAllegaCartella(QWidget* parent = nullptr);

    // Read-only: the attached file's bare name.
    QLineEdit* txtFile01;
    QLineEdit* txtFile02;
    QLineEdit* txtFile03;
    QLineEdit* txtDesc01;
    QLineEdit* txtDesc02;
    QLineEdit* txtDesc03;
    QPushButton* btnSfoglia01;
    QPushButton* btnSfoglia02;
    QPushButton* btnSfoglia03;
    QPushButton* btnApri01;
    QPushButton* btnApri02;
    QPushButton* btnApri03;
    // Clickable: empties the slot's file box.
    PictureBox* imgCancella01;
    PictureBox* imgCancella02;
    PictureBox* imgCancella03;
    QPushButton* btnApplica;
    QPushButton* btnAnnulla;
    // Hidden: whose card the dialog serves, "clienti" or "dipendenti".
    QLabel* lblMemory;

private:
    struct Slot {
        QLineEdit* file;
        QLineEdit* desc;
        QPushButton* sfoglia;
        QPushButton* apri;
        PictureBox* cancella;
    };
    QWidget* buildSlot(int number, Slot& slot);
    void btnSfogliaClick(const Slot& slot);
    void btnApriClick(const Slot& slot);
    void btnApplicaClick();

    std::array<Slot, 3> slots_{};
};

// cmdFile of a card screen: opens the dialog for `card` (the client or the agent card) with the card's six
// attachment labels copied in, trimmed. "Applica e chiudi" writes them back to the same labels.
void openAllegaCartella(CardScreen* card);

} // namespace ombrisa
