#pragma once

// The information screen: product picture, a notice, and the maker's e-mail address.

#include <QDialog>

class QPushButton;

namespace ombrisa {

class LinkLabel;
class PictureBox;

class TfrmInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget* parent = nullptr);

    PictureBox* imgLogo;
    PictureBox* imgWarning;
    PictureBox* imgEmail;
    LinkLabel* lnkWeb;
    QPushButton* btnChiudi;

public slots:
    void lnkWebClick();
};

} // namespace ombrisa
