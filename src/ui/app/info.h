#pragma once

// The information screen: product picture, a notice with the version, the data folder in use, the workstations using it
// now and the maker's e-mail address.

#include "core/storage/presence.h"

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace ombrisa {

class LinkLabel;
class PictureBox;

class TfrmInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget* parent = nullptr);

    PictureBox* imgLogo;
    PictureBox* imgWarning;
    QLabel* lblVersione;     // "Ombrisa 0.1.0": the notice's first line, on imgWarning
    QLabel* lblCartellaDati; // the data folder in use, selectable so that it can be copied
    QLabel* lblPostazioni;
    // The programs using the data folder now: workstation, user, since when, last heartbeat, and a note
    // for this one and for one whose locks do not reach this workstation.
    QTableWidget* lstPostazioni;
    PictureBox* imgEmail;
    LinkLabel* lnkWeb;
    QPushButton* btnChiudi;

    // Fills lstPostazioni (the constructor does, from the data folder's presence file).
    void showWorkstations(const std::vector<Workstation>& present);

public slots:
    void lnkWebClick();
};

} // namespace ombrisa
