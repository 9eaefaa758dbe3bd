#pragma once

// The password screen: the program's main window. After the right password it shows the start menu
// and hides itself for the rest of the run.

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ombrisa {

class PictureBox;
class TfrmCambiaPassword;

class TfrmPassword : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPassword(QWidget* parent = nullptr);
    // The screens it leads to: the start menu after sign-in, the change screen by btnCambiaPassword.
    void setScreens(QWidget* startMenu, TfrmCambiaPassword* changeScreen);
    // Instead of a start menu made in advance: the start menu made at the first sign-in, so that the
    // program's first window comes up sooner. Used when setScreens was given no start menu.
    void setStartMenuProvider(std::function<QWidget*()> provider);

    PictureBox* imgLogo;
    QLabel* lblRigo05;
    QLineEdit* txtPassword;
    QWidget* effPassword;
    QPushButton* cmdOK;
    QPushButton* cmdEsci;
    QPushButton* btnCambiaPassword;

signals:
    // The user ends the program from this screen.
    void endRequested();

public slots:
    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void txtPasswordChange();
    void changeScreenClosed();

    QWidget* startMenu_ = nullptr;
    std::function<QWidget*()> startMenuProvider_;
    TfrmCambiaPassword* changeScreen_ = nullptr;
};

} // namespace ombrisa
