#pragma once

// The start menu: four tiles that open the work areas, the general help, the information and splash
// screens, the maker's web site, the backup screen and the exit. Closing it ends the program. Its hint
// line `panInfo` tells what the control under the mouse does and, once a day when the last backup is
// too old, reminds the user to make one.

#include <QDate>
#include <QWidget>
#include <array>

class QLabel;
class QPushButton;

namespace ombrisa {

class PictureBox;

class TfrmAvvio : public QWidget {
    Q_OBJECT
public:
    explicit TfrmAvvio(QWidget* parent = nullptr);

    QWidget* panContainer;
    PictureBox* icoNomeApp;
    PictureBox* icoSottotitolo;
    PictureBox* imgInfo;
    PictureBox* imgGuida;
    std::array<QWidget*, 4> bkgApp{};
    std::array<PictureBox*, 4> imgApp{};
    std::array<QPushButton*, 4> btnApp{};
    PictureBox* icoSito;
    PictureBox* imgCopyright;
    PictureBox* imgEsci;
    QPushButton* btnCopia;
    QLabel* panInfo;

signals:
    // The user ends the program (imgEsci or closing this window).
    void endRequested();

public slots:
    // Shows the work area of tile 1..4 (see common/workareas.h) and hides the start menu; the start
    // menu comes back when the work area closes. Nothing happens for a tile without a work area.
    void openWorkArea(int tile);
    void imgInfoClick();
    void imgGuidaClick();
    void imgCopyrightClick();
    void icoSitoClick();
    void imgEsciClick();
    void btnCopiaClick();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* openArea_ = nullptr;
    QString reminder_; // the reminder last put on the hint line
    QDate remindedOn_;
};

} // namespace ombrisa
