#include "ui/app/avvio.h"

#include "core/backup/backupsettings.h"
#include "core/storage/appfolder.h"
#include "ui/backup/CopiaSicurezza.h"
#include "ui/common/accessibility.h"
#include "ui/common/conventions.h"
#include "ui/common/helptexts.h"
#include "ui/common/hintline.h"
#include "ui/common/openurl.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "ui/common/workareas.h"
#include "ui/app/guida.h"
#include "ui/app/info.h"
#include "ui/app/look.h"
#include "ui/app/maker.h"
#include "ui/app/splash.h"
#include "ui/stats/Statistiche.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

namespace ombrisa {
namespace {

constexpr int kPanelWidth = 900;
constexpr int kPanelHeight = 660;

struct Tile {
    const char* picture;
    QString title;
    QString description;
};

const std::array<Tile, 4>& tiles() {
    static const std::array<Tile, 4> all{{
        {":/app/art/tile-clienti.svg", QStringLiteral("Archivio Clienti"),
         QStringLiteral("Anagrafica, recapiti, dati fiscali e di pagamento dei clienti.")},
        {":/app/art/tile-chiamate.svg", QStringLiteral("Registro Chiamate"),
         QStringLiteral("Telefonate fatte e ricevute: oggetto, esito, durata.")},
        {":/app/art/tile-agenti.svg", QStringLiteral("Agenti e Prestazioni"),
         QStringLiteral("Schede dei collaboratori, foto e lavori svolti.")},
        {":/app/art/tile-ore.svg", QStringLiteral("Riepilogo Ore di Lavoro"),
         QStringLiteral("Ore lavorate da un agente in un periodo a scelta.")},
    }};
    return all;
}

PictureBox* picture(const char* name, const char* file, QWidget* parent, bool clickable) {
    auto* box = new PictureBox(QString::fromLatin1(file), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setClickable(clickable);
    return box;
}

} // namespace

TfrmAvvio::TfrmAvvio(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmAvvio"));
    setWindowTitle(QStringLiteral(" Ombrisa"));
    setMinimumSize(kPanelWidth + 20, kPanelHeight + 20);

    panContainer = new QWidget(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->setAttribute(Qt::WA_StyledBackground);
    panContainer->setStyleSheet(QStringLiteral("#panContainer { background: white; border-radius: 10px; }"));
    panContainer->resize(kPanelWidth, kPanelHeight);

    imgInfo = picture("imgInfo", ":/app/art/info.svg", panContainer, true);
    imgInfo->setGeometry(24, 22, 44, 44);
    imgInfo->setToolTip(QStringLiteral("Informazioni su Ombrisa"));
    imgGuida = picture("imgGuida", ":/app/art/help.svg", panContainer, true);
    imgGuida->setGeometry(kPanelWidth - 68, 22, 44, 44);
    imgGuida->setToolTip(QStringLiteral("Guida all'utilizzo del software"));
    icoNomeApp = picture("icoNomeApp", ":/app/art/title.svg", panContainer, false);
    icoNomeApp->setGeometry(250, 10, 400, 88);
    icoSottotitolo = picture("icoSottotitolo", ":/app/art/subtitle.svg", panContainer, false);
    icoSottotitolo->setGeometry(0, 104, kPanelWidth, 40);

    auto* field = new QWidget(panContainer);
    field->setObjectName(QStringLiteral("shpCampo"));
    field->setAttribute(Qt::WA_StyledBackground);
    field->setStyleSheet(QStringLiteral("#shpCampo { background: #BBCFE0; border-radius: 8px; }"));
    field->setGeometry(24, 160, kPanelWidth - 48, 380);

    const int tileW = (field->width() - 3 * 18) / 2;
    const int tileH = (field->height() - 3 * 18) / 2;
    const QFont titleFont = screenFont(QStringLiteral("Verdana,DejaVu Sans"), 12, true);
    const QFont textFont = screenFont(QStringLiteral("Tahoma,DejaVu Sans"), 10, false);
    for (int i = 0; i < 4; ++i) {
        const auto n = static_cast<std::size_t>(i);
        const QString number = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        auto* tile = new QWidget(field);
        tile->setObjectName(QStringLiteral("bkgApp") + number);
        tile->setAttribute(Qt::WA_StyledBackground);
        tile->setStyleSheet(
            QStringLiteral("#bkgApp%1 { background: white; border: 1px solid #A9C1D6; border-radius: 6px; }")
                .arg(number));
        tile->setGeometry(18 + (i % 2) * (tileW + 18), 18 + (i / 2) * (tileH + 18), tileW, tileH);
        bkgApp[n] = tile;

        imgApp[n] = new PictureBox(QString::fromLatin1(tiles()[n].picture), tile);
        imgApp[n]->setObjectName(QStringLiteral("imgApp") + number);
        imgApp[n]->setClickable(true);
        imgApp[n]->setFocusPolicy(Qt::NoFocus); // the button beside it does the same for the keyboard
        imgApp[n]->setGeometry(14, (tileH - 118) / 2, 118, 118);

        auto* text = new QLabel(tiles()[n].description, tile);
        text->setObjectName(QStringLiteral("lblApp") + number);
        text->setWordWrap(true);
        text->setFont(textFont);
        text->setStyleSheet(QStringLiteral("color: #3D5566;"));
        text->setGeometry(146, 22, tileW - 160, 56);

        btnApp[n] = new QPushButton(tiles()[n].title, tile);
        btnApp[n]->setObjectName(QStringLiteral("btnApp") + number);
        btnApp[n]->setFont(titleFont);
        btnApp[n]->setAutoDefault(false);
        makeClickable(btnApp[n]);
        btnApp[n]->setStyleSheet(QStringLiteral(
            "QPushButton { color: white; border: 1px solid #275F80; border-radius: 6px; padding: 4px 10px;"
            "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4E9AC4, stop:1 #2F739B); }"
            "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5AA8D2, stop:1 #357FA9); }"
            "QPushButton:pressed { background: #2A6A90; }"
            "QPushButton:focus { border: 2px solid #FFA500; }"));
        btnApp[n]->setGeometry(146, tileH - 62, tileW - 162, 42);

        if (i == 1) {
            // The call tile also leads to the call statistics.
            lnkStatistiche = new LinkLabel(QStringLiteral("Statistiche delle chiamate"), tile);
            lnkStatistiche->setObjectName(QStringLiteral("lnkStatistiche"));
            lnkStatistiche->setFont(textFont);
            lnkStatistiche->setStyleSheet(QStringLiteral("color: #2F739B; text-decoration: underline;"));
            lnkStatistiche->setToolTip(
                QStringLiteral("Grafici e tabelle delle chiamate in archivio: mesi, esiti, operatori, orari."));
            lnkStatistiche->setGeometry(146, tileH - 88, tileW - 160, 22);
            connect(lnkStatistiche, &LinkLabel::clicked, this, [this] { openStatistiche(this); });
        }

        connect(imgApp[n], &PictureBox::clicked, this, [this, i] { openWorkArea(i + 1); });
        connect(btnApp[n], &QPushButton::clicked, this, [this, i] { openWorkArea(i + 1); });
    }

    icoSito = picture("icoSito", ":/app/art/site.svg", panContainer, true);
    icoSito->setGeometry(250, 556, 400, 40);
    icoSito->setToolTip(kMakerWebText);
    imgCopyright = picture("imgCopyright", ":/app/art/copyright.svg", panContainer, true);
    imgCopyright->setGeometry(24, kPanelHeight - 62, 40, 40);
    imgCopyright->setToolTip(kCopyrightNotice);
    imgEsci = picture("imgEsci", ":/app/art/exit.svg", panContainer, true);
    imgEsci->setGeometry(kPanelWidth - 64, kPanelHeight - 62, 40, 40);
    imgEsci->setToolTip(QStringLiteral("Esci"));

    // The bottom row: the backup button and the hint line between the two corner pictures.
    btnCopia = new QPushButton(QStringLiteral("Copia di sicurezza"), panContainer);
    btnCopia->setObjectName(QStringLiteral("btnCopia"));
    btnCopia->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 10, true));
    btnCopia->setAutoDefault(false);
    makeClickable(btnCopia);
    btnCopia->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; border: 1px solid #275F80; border-radius: 6px; padding: 2px 10px;"
        "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4E9AC4, stop:1 #2F739B); }"
        "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5AA8D2, stop:1 #357FA9); }"
        "QPushButton:pressed { background: #2A6A90; }"
        "QPushButton:focus { border: 2px solid #FFA500; }"));
    btnCopia->setGeometry(80, kPanelHeight - 58, 190, 34);
    panInfo = new QLabel(panContainer);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setWordWrap(true);
    panInfo->setTextFormat(Qt::PlainText);
    panInfo->setFont(textFont);
    panInfo->setStyleSheet(QStringLiteral("color: #275F80;"));
    panInfo->setGeometry(286, kPanelHeight - 60, kPanelWidth - 286 - 80, 44);
    markAsStatus(panInfo);
    auto* hints = new HintLine(panInfo);
    hints->setHint(btnCopia, QStringLiteral("Crea una copia di sicurezza di tutti gli archivi, oppure controlla o "
                                            "ripristina una copia."));
    for (std::size_t n = 0; n < 4; ++n) {
        hints->setHint(imgApp[n], tiles()[n].description);
        hints->setHint(btnApp[n], tiles()[n].description);
    }
    hints->setHint(imgInfo, imgInfo->toolTip());
    hints->setHint(imgGuida, imgGuida->toolTip());
    hints->setHint(icoSito, icoSito->toolTip());
    hints->setHint(imgCopyright, imgCopyright->toolTip());
    hints->setHint(imgEsci, QStringLiteral("Esci dal programma"));

    // Reading order: the two top corners, the tiles one by one, then the bottom row.
    chainTabs({imgInfo, imgGuida, btnApp[0], lnkStatistiche, btnApp[1], btnApp[2], btnApp[3], icoSito, imgCopyright,
               btnCopia, imgEsci});

    connect(btnCopia, &QPushButton::clicked, this, &TfrmAvvio::btnCopiaClick);
    connect(imgInfo, &PictureBox::clicked, this, &TfrmAvvio::imgInfoClick);
    connect(imgGuida, &PictureBox::clicked, this, &TfrmAvvio::imgGuidaClick);
    connect(imgCopyright, &PictureBox::clicked, this, &TfrmAvvio::imgCopyrightClick);
    connect(icoSito, &PictureBox::clicked, this, &TfrmAvvio::icoSitoClick);
    connect(imgEsci, &PictureBox::clicked, this, &TfrmAvvio::imgEsciClick);

    maximiseWindow(this);
}

void TfrmAvvio::openWorkArea(int tile) {
    QWidget* area = workArea(tile);
    if (!area)
        return;
    if (openArea_ && openArea_ != area)
        openArea_->removeEventFilter(this);
    openArea_ = area;
    area->installEventFilter(this);
    showActive(area);
    hide();
}

bool TfrmAvvio::eventFilter(QObject* watched, QEvent* event) {
    // A work area that closes, for any reason, brings the start menu back.
    if (watched == openArea_ && event->type() == QEvent::Hide && !openArea_->isVisible()) {
        openArea_->removeEventFilter(this);
        openArea_ = nullptr;
        showActive(this);
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmAvvio::imgInfoClick() {
    execDialog(new TfrmInfo(this));
}

void TfrmAvvio::imgGuidaClick() {
    showHelp(this, kGeneralHelpTitle, generalHelpParagraphs());
}

void TfrmAvvio::imgCopyrightClick() {
    execDialog(new TfrmSplash(this));
}

void TfrmAvvio::icoSitoClick() {
    TMisc::Open(kMakerWebAddress, this);
}

void TfrmAvvio::imgEsciClick() {
    close();
}

void TfrmAvvio::btnCopiaClick() {
    if (openCopiaSicurezza(this) && !reminder_.isEmpty() && panInfo->text() == reminder_)
        panInfo->clear();
}

void TfrmAvvio::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The reminder, once a day: the first time the menu appears that day, on any workstation of the folder.
    const QString folder = appFolder();
    BackupSettings settings = readBackupSettings(folder);
    const QString reminder = backupReminder(settings, clock().now());
    // The day is also kept for this run: a read-only data folder cannot record it.
    if (reminder.isEmpty() || remindedOn_ == clock().today())
        return;
    reminder_ = reminder;
    announce(panInfo, reminder);
    remindedOn_ = settings.remindedOn = clock().today();
    writeBackupSettings(folder, settings);
}

void TfrmAvvio::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, kBrandBlue);
    gradient.setColorAt(1, Qt::white);
    p.fillRect(rect(), gradient);
}

void TfrmAvvio::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    panContainer->move((width() - kPanelWidth) / 2, (height() - kPanelHeight) / 2);
}

void TfrmAvvio::closeEvent(QCloseEvent* event) {
    event->accept();
    emit endRequested();
}

} // namespace ombrisa
