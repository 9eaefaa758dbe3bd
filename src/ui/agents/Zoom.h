#pragma once

// The zoom screen: the card's photo as large as the screen allows. The caller puts the picture into
// imgFoto before showing it; a click on the picture or on its panel closes the screen.

#include <QDialog>

class QFrame;

namespace ombrisa {

class PictureBox;

class TfrmZoom : public QDialog {
    Q_OBJECT
public:
    explicit TfrmZoom(QWidget* parent = nullptr);

    QFrame* panContainer;
    PictureBox* imgFoto;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

// The photo screens' area: the screen's size less 60 in width and 90 in height, centred in `window`.
void placePhotoArea(QWidget* window, QWidget* container, QWidget* picture);

} // namespace ombrisa
