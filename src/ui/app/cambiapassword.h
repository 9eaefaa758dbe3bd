#pragma once

// The change-password screen, reached from the password screen. The new password is stored in the
// password file; the user then signs in with it.

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ombrisa {

class PictureBox;

class TfrmCambiaPassword : public QWidget {
    Q_OBJECT
public:
    explicit TfrmCambiaPassword(QWidget* parent = nullptr);

    PictureBox* imgLogo;
    QLabel* lblRigo05;
    QLabel* lblRigo06;
    QLabel* lblRigo07;
    QLineEdit* txtPasswordOld;
    QLineEdit* txtPasswordNew;
    QLineEdit* txtConferma;
    QWidget* effPasswordOld;
    QWidget* effPasswordNew;
    QWidget* effConferma;
    QPushButton* cmdOK;
    QPushButton* cmdEsci;

signals:
    // The screen closed, after a change or by cmdEsci.
    void closed();

public slots:
    void cmdOKClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void updateOK();
};

} // namespace ombrisa
