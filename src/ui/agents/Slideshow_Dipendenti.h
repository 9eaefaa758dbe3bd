#pragma once

// The photo slideshow: every six seconds the photo of the next agent card, in file order, full screen,
// from card 1 to the last and then again from card 1. A click on the photo closes it.

#include <QDialog>

class QFrame;
class QLabel;
class QTimer;
class QToolButton;

namespace ombrisa {

class PictureBox;

class TfrmSlideshow_Dipendenti : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSlideshow_Dipendenti(QWidget* parent = nullptr);

    QFrame* panContainer;
    PictureBox* imgFoto;
    // Hidden: the waiting picture.
    PictureBox* imgBianco;
    // Hidden: how many cards were shown in this round ("0" after the last), empty at the start.
    QLabel* lblPosizione;
    // Hidden: its click shows the next photo; the timer clicks it.
    QToolButton* cmdAvanti;
    QTimer* Timer;

    void cmdAvantiClick();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;
};

} // namespace ombrisa
