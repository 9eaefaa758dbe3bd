#pragma once

// The splash screen: the product's large picture with the version, and the maker's web address.

#include <QDialog>

class QLabel;
class QPushButton;

namespace ombrisa {

class LinkLabel;
class PictureBox;

class TfrmSplash : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);

    PictureBox* imgLogo;
    QLabel* lblVersione; // "Versione 0.1.0 · Copyright ...": on imgLogo, at its foot
    PictureBox* imgWeb;
    LinkLabel* lnkWeb;
    QPushButton* btnChiudi;

public slots:
    void lnkWebClick();
};

} // namespace ombrisa
