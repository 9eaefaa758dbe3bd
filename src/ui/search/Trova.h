#pragma once

// The three search screens, one class configured per archive: frmTrovaClienti, frmTrovaChiamate and
// frmTrovaDipendenti. The caller creates the screen with itself as parent, writes its mode word into
// lblMemory and runs it through execDialog; a double-click on a result line hands that line's card back
// to the caller as the mode word says, and the screen closes. A card screen caller (CardScreen) is
// reached through its navigator and its field table only, so a search knows no concrete card; the
// interval screen gives a function that takes the picked codice fiscale.

#include "core/search/searchrules.h"

#include <QDialog>
#include <QList>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ombrisa {

class CardLineList;
class FindBox;

// What distinguishes one search screen from the others, beside its core rules.
struct TrovaScreen {
    SearchArchive archive;
    const char* name;    // objectName of the dialog
    const char* caption; // window title
    const QString* printTitle;
    bool numberedRects;               // highlight rectangles effCampo01..10 instead of effCliente...
    std::array<const char*, 2> modes; // mode words served (an empty word serves nothing)
};

// The mode words.
inline const QString kModeClienti = QStringLiteral("clienti");
inline const QString kModeChiamate = QStringLiteral("chiamate");
inline const QString kModeDipendenti = QStringLiteral("dipendenti");
inline const QString kModeRiepStraordinari = QStringLiteral("riepstraordinari");

class TfrmTrova : public QDialog {
    Q_OBJECT
public:
    TfrmTrova(const TrovaScreen& screen, QWidget* parent);

    const SearchRules& rules() const { return rules_; }
    // The filter boxes in Enter order.
    const QList<QLineEdit*>& filterBoxes() const { return boxes_; }
    // Mode "riepstraordinari": what takes the picked agent's codice fiscale.
    void setPickedCodFisc(std::function<void(const QString& codFisc)> picked) { pickedCodFisc_ = std::move(picked); }

    QWidget* panAvvio;
    QPushButton* btnCerca;
    QPushButton* btnAnnulla;
    QLabel* lblAttendere;
    QLabel* lblMemory;
    QWidget* panContainer;
    CardLineList* lstRecords;
    QLabel* lblTrovate;
    FindBox* findBox;
    QPushButton* btnStampa;
    QPushButton* btnChiudi;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void btnCercaClick();
    void btnStampaClick();
    void lstRecordsDblClick(std::int64_t card);
    // Hands card `card` back to the caller as the mode word says; false when the mode is not served.
    void handBack(std::int64_t card);

    const TrovaScreen& screen_;
    const SearchRules& rules_;
    QList<QLineEdit*> boxes_;
    std::function<void(const QString&)> pickedCodFisc_;
};

class TfrmTrovaClienti : public TfrmTrova {
    Q_OBJECT
public:
    explicit TfrmTrovaClienti(QWidget* parent);
};

class TfrmTrovaChiamate : public TfrmTrova {
    Q_OBJECT
public:
    explicit TfrmTrovaChiamate(QWidget* parent);
};

class TfrmTrovaDipendenti : public TfrmTrova {
    Q_OBJECT
public:
    explicit TfrmTrovaDipendenti(QWidget* parent);
};

// What the callers connect their buttons to: a fresh screen owned by `caller`, the mode word in
// lblMemory, shown modally and destroyed when it closes.
void openTrovaClienti(QWidget* caller, const QString& mode);
void openTrovaChiamate(QWidget* caller, const QString& mode);
void openTrovaDipendenti(QWidget* caller, const QString& mode);
// The interval selection screen's btnCodFisc: the agent search in mode "riepstraordinari"; the agent
// picked hands its codice fiscale, as stored, to `picked`.
void openAgentSearchForInterval(QWidget* caller, std::function<void(const QString& codFisc)> picked);

} // namespace ombrisa
