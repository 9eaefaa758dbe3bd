#pragma once

// The information screen: product picture, a notice, the data folder in use and the maker's e-mail address.

#include <QDialog>

class QLabel;
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
    QLabel* lblCartellaDati; // the data folder in use, selectable so that it can be copied
    PictureBox* imgEmail;
    LinkLabel* lnkWeb;
    QPushButton* btnChiudi;

public slots:
    void lnkWebClick();
};

} // namespace ombrisa
