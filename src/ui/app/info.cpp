#include "ui/app/info.h"

#include "ui/common/conventions.h"
#include "ui/common/openurl.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/app/look.h"
#include "ui/app/maker.h"

#include "core/storage/appfolder.h"
#include "core/version.h"

#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

namespace ombrisa {

TfrmInfo::TfrmInfo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral(" Informazioni su Ombrisa"));
    applyShellLook(this);
    makeFixedWindow(this, 600, 600);
    addTopBand(this, 96);

    imgLogo = new PictureBox(QStringLiteral(":/app/art/title.svg"), this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(140, 12, 320, 72);

    imgWarning = new PictureBox(QStringLiteral(":/app/art/notice.svg"), this);
    imgWarning->setObjectName(QStringLiteral("imgWarning"));
    imgWarning->setGeometry(30, 112, 540, 240);
    lblVersione =
        textOverPicture(QStringLiteral("Ombrisa ") + programVersion(), 18, true, QStringLiteral("#1F5F85"), imgWarning);
    lblVersione->setObjectName(QStringLiteral("lblVersione"));
    lblVersione->setGeometry(104, 27, 420, 24); // the notice's first line, beside its sign

    const QString dataFolder = QDir::toNativeSeparators(appFolder());
    lblCartellaDati = new QLabel(this);
    lblCartellaDati->setObjectName(QStringLiteral("lblCartellaDati"));
    lblCartellaDati->setFont(screenFont(QStringLiteral("Tahoma,DejaVu Sans"), 10, false));
    lblCartellaDati->setGeometry(30, 358, 540, 28);
    lblCartellaDati->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblCartellaDati->setToolTip(dataFolder);
    const QString caption = QStringLiteral("Cartella dei dati: ");
    const QFontMetrics metrics(lblCartellaDati->font());
    lblCartellaDati->setText(caption + metrics.elidedText(dataFolder, Qt::ElideMiddle,
                                                          lblCartellaDati->width() - metrics.horizontalAdvance(caption)));

    lblPostazioni = new QLabel(QStringLiteral("Postazioni che usano ora la cartella dei dati:"), this);
    lblPostazioni->setObjectName(QStringLiteral("lblPostazioni"));
    lblPostazioni->setFont(screenFont(QStringLiteral("Tahoma,DejaVu Sans"), 10, false));
    lblPostazioni->setGeometry(30, 388, 540, 20);
    lstPostazioni = new QTableWidget(0, 5, this);
    lstPostazioni->setObjectName(QStringLiteral("lstPostazioni"));
    lstPostazioni->setFont(screenFont(QStringLiteral("Tahoma,DejaVu Sans"), 9, false));
    lstPostazioni->setGeometry(30, 410, 540, 120);
    lstPostazioni->setHorizontalHeaderLabels({QStringLiteral("Postazione"), QStringLiteral("Utente"),
                                              QStringLiteral("In uso dal"), QStringLiteral("Ultimo segnale"),
                                              QStringLiteral("Note")});
    lstPostazioni->verticalHeader()->hide();
    lstPostazioni->horizontalHeader()->setStretchLastSection(true);
    lstPostazioni->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstPostazioni->setSelectionMode(QAbstractItemView::NoSelection);
    lstPostazioni->setFocusPolicy(Qt::NoFocus);
    lstPostazioni->setWordWrap(false);
    showWorkstations(Presence::Read(appFolder()));

    imgEmail = new PictureBox(QStringLiteral(":/app/art/email.svg"), this);
    imgEmail->setObjectName(QStringLiteral("imgEmail"));
    imgEmail->setGeometry(30, 540, 40, 40);
    imgEmail->setClickable(true);
    lnkWeb = new LinkLabel(kMakerEmail, this);
    lnkWeb->setObjectName(QStringLiteral("lnkWeb"));
    QFont linkFont = screenFont(QStringLiteral("Tahoma,DejaVu Sans"), 14, false);
    linkFont.setUnderline(true);
    lnkWeb->setFont(linkFont);
    lnkWeb->setGeometry(80, 544, 300, 32);

    btnChiudi = shellButton(QStringLiteral("btnChiudi"), QStringLiteral("Chiudi"), this, true);
    btnChiudi->setGeometry(450, 542, 120, 38);

    connect(imgEmail, &PictureBox::pressed, lnkWeb, [this] { lnkWeb->setPressedLook(true); });
    connect(imgEmail, &PictureBox::released, lnkWeb, [this] { lnkWeb->setPressedLook(false); });
    connect(imgEmail, &PictureBox::clicked, this, &TfrmInfo::lnkWebClick);
    connect(lnkWeb, &LinkLabel::clicked, this, &TfrmInfo::lnkWebClick);
    connect(btnChiudi, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmInfo::showWorkstations(const std::vector<Workstation>& present) {
    std::vector<Workstation> rows = present;
    // This workstation first, then the others in the order they started.
    std::stable_sort(rows.begin(), rows.end(), [](const Workstation& a, const Workstation& b) {
        return a.own != b.own ? a.own : a.started < b.started;
    });
    lstPostazioni->clearContents();
    lstPostazioni->setRowCount(rows.empty() ? 1 : static_cast<int>(rows.size()));
    if (rows.empty()) {
        // A folder without a presence file (read-only, or no program registered yet).
        auto* none = new QTableWidgetItem(QStringLiteral("Nessuna postazione registrata"));
        none->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
        lstPostazioni->setItem(0, 0, none);
        lstPostazioni->setSpan(0, 0, 1, lstPostazioni->columnCount());
    } else {
        lstPostazioni->clearSpans();
    }
    QFont bold = lstPostazioni->font();
    bold.setBold(true);
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const Workstation& w = rows[static_cast<std::size_t>(row)];
        const QString note = w.own        ? QStringLiteral("questa postazione")
                             : w.lockSeen ? QString()
                                          : QStringLiteral("blocchi non visibili da qui");
        const QStringList cells{w.host, w.user,
                                w.started.toLocalTime().toString(QStringLiteral("dd/MM/yyyy hh:mm")),
                                w.lastBeat.toLocalTime().toString(QStringLiteral("hh:mm:ss")), note};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            if (w.own)
                item->setFont(bold);
            lstPostazioni->setItem(row, column, item);
        }
    }
    lstPostazioni->resizeColumnsToContents();
}

void TfrmInfo::lnkWebClick() {
    lnkWeb->setPressedLook(false);
    TMisc::Open(QStringLiteral("\"mailto:") + kMakerEmail + QLatin1Char('"'), this);
}

} // namespace ombrisa
