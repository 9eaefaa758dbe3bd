#include "ui/clients/Ricontatta.h"

#include "core/cards/cardnavigator.h"
#include "core/records/archivepaths.h"
#include "core/search/searchrules.h"
#include "core/storage/appfolder.h"
#include "core/storage/recordfile.h"
#include "report/layouts/listreport.h"
#include "ui/clients/Clienti.h"
#include "ui/common/conventions.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "ui/lists/cardlinelist.h"
#include "ui/lists/findbox.h"
#include "ui/lists/listprint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ombrisa {

TfrmRicontatta::TfrmRicontatta(TfrmClienti* caller) : QDialog(caller), caller_(caller) {
    applyScreenFormats();
    setObjectName(QStringLiteral("frmRicontatta"));
    setWindowTitle(QStringLiteral(" Riepilogo clienti da ricontattare"));

    imgLogo = new PictureBox(QStringLiteral(":/clients/art/ricontatta.svg"), this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setFixedSize(48, 48);
    icoIstruzioni = new QLabel(QStringLiteral("Riepilogo clienti da ricontattare"), this);
    icoIstruzioni->setObjectName(QStringLiteral("icoIstruzioni"));
    icoIstruzioni->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 14, true));
    imgLente = new PictureBox(QStringLiteral(":/cards/art/trova.svg"), this);
    imgLente->setObjectName(QStringLiteral("imgLente"));
    imgLente->setFixedSize(32, 32);
    lstRecords = new CardLineList(this);
    findBox = new FindBox(lstRecords, this);
    findBox->txtTrova->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 12, true));
    findBox->btnTrova->setAutoDefault(false);
    lblRigo03 = new QLabel(QStringLiteral("Fare doppio clic su una voce in elenco per richiamare la scheda"), this);
    lblRigo03->setObjectName(QStringLiteral("lblRigo03"));
    lblRigo03->setAlignment(Qt::AlignCenter);
    lblRigo03->setStyleSheet(QStringLiteral("color: crimson;"));
    btnStampa = new QPushButton(QStringLiteral("Stampa"), this);
    btnStampa->setObjectName(QStringLiteral("btnStampa"));
    btnChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    btnChiudi->setObjectName(QStringLiteral("btnChiudi"));
    for (QPushButton* b : {btnStampa, btnChiudi}) {
        b->setAutoDefault(false);
        makeClickable(b);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(imgLogo);
    top->addWidget(icoIstruzioni, 1);
    auto* find = new QHBoxLayout;
    find->addWidget(imgLente);
    find->addWidget(findBox, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnStampa);
    bottom->addWidget(btnChiudi);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addLayout(top);
    layout->addLayout(find);
    layout->addWidget(lstRecords, 1);
    layout->addWidget(lblRigo03);
    layout->addLayout(bottom);

    connect(btnStampa, &QPushButton::clicked, this,
            [this] { printListLines(this, report::kTitleRicontatta, listLines(lstRecords->model())); });
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstRecords, &CardLineList::cardDoubleClicked, this, &TfrmRicontatta::lstRecordsDblClick);
    makeFixedWindow(this, 1060, 600, caller ? caller->window() : nullptr);
}

void TfrmRicontatta::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    findBox->finder->clearRemembered();
    findBox->txtTrova->clear();
    fill();
    findBox->txtTrova->setFocus(Qt::OtherFocusReason);
}

void TfrmRicontatta::fill() {
    CardListing listing = recontactList(appPath(kClientiFile));
    if (!listing.ok) {
        // A list silently cut short would hide clients to call back.
        lstRecords->lines()->clear();
        showPlain(this, kArchiveMessage);
        return;
    }
    lstRecords->setLines(std::move(listing.lines));
}

void TfrmRicontatta::done(int result) {
    lstRecords->lines()->clear();
    QDialog::done(result);
}

void TfrmRicontatta::lstRecordsDblClick(std::int64_t card) {
    if (card > 0 && caller_)
        caller_->navigator().showCard(card);
    accept();
}

void openRicontatta(TfrmClienti* caller) {
    execDialog(new TfrmRicontatta(caller));
}

} // namespace ombrisa
