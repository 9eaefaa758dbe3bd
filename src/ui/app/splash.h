#pragma once

// The splash screen: the product's large picture and the maker's web address.

#include <QDialog>

class QPushButton;

namespace ombrisa {

class LinkLabel;
class PictureBox;

class TfrmSplash : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);

    PictureBox* imgLogo;
    PictureBox* imgWeb;
    LinkLabel* lnkWeb;
    QPushButton* btnChiudi;

public slots:
    void lnkWebClick();
};

} // namespace ombrisa
