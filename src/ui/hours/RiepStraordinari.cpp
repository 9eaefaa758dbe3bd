#include "ui/hours/RiepStraordinari.h"

#include "core/dates/dates.h"
#include "core/records/archivepaths.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"
#include "core/work/hourssummary.h"
#include "report/layouts/listreport.h"
#include "ui/app/guida.h"
#include "ui/common/accessibility.h"
#include "ui/common/conventions.h"
#include "ui/common/helptexts.h"
#include "ui/common/picturebox.h"
#include "ui/common/screen.h"
#include "ui/common/services.h"
#include "ui/hours/MenuRiepStraordinari.h"
#include "ui/lists/cardlinelist.h"
#include "ui/lists/courierlist.h"
#include "ui/lists/findbox.h"
#include "ui/lists/listprint.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

namespace ombrisa {

QString& TfrmRiepStraordinari::rememberedFindText() {
    static QString text;
    return text;
}

TfrmRiepStraordinari::TfrmRiepStraordinari(TfrmMenuRiepStraordinari* menu) : QDialog(menu), menu_(menu) {
    applyScreenFormats();
    setObjectName(QStringLiteral("frmRiepStraordinari"));
    setWindowTitle(QStringLiteral(" Ombrisa - Riepilogo Ore di Lavoro"));
    setStyleSheet(QStringLiteral("#frmRiepStraordinari { background: #eef3f8; }"
                                 "QLabel[role=\"value\"] { color: #245a80; font-weight: bold; }"));
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(18, 14, 18, 14);

    const auto value = [this](const char* name, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setProperty("role", QStringLiteral("value"));
        return label;
    };
    auto* head = new QGridLayout;
    head->setHorizontalSpacing(12);
    titTipologia = value("titTipologia", QStringLiteral("- - -"));
    titTipologia->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 14, true));
    lblIntervallo = value("lblIntervallo", QStringLiteral("Dal gg/mm/aaaa al gg/mm/aaaa"));
    head->addWidget(new QLabel(QStringLiteral("Codice Fiscale:"), this), 0, 0);
    head->addWidget(titTipologia, 0, 1);
    head->addWidget(new QLabel(QStringLiteral("Intervallo selezionato:"), this), 1, 0);
    head->addWidget(lblIntervallo, 1, 1);
    head->setColumnStretch(2, 1);
    imgGuida = new PictureBox(QStringLiteral(":/app/art/help.svg"), this);
    imgGuida->setObjectName(QStringLiteral("imgGuida"));
    imgGuida->setFixedSize(36, 36);
    imgGuida->setClickable(true);
    imgGuida->setToolTip(QStringLiteral("Guida"));
    head->addWidget(imgGuida, 0, 3, 2, 1, Qt::AlignRight | Qt::AlignTop);
    page->addLayout(head);

    lstRecords = new CardLineList(this);
    setupWorkList(lstRecords); // every column on a 1366-pixel screen
    auto* find = new FindBox(lstRecords, this, &rememberedFindText());
    find->finder->setEnterMovesToButton(false);
    txtTrova = find->txtTrova;
    btnTrova = find->btnTrova;
    find->setMaximumWidth(600);
    page->addWidget(find);
    page->addWidget(lstRecords, 1);

    auto* foot = new QHBoxLayout;
    lblTrovate = value("lblTrovate", QStringLiteral("0 lavori svolti"));
    lblTotCosti = value("lblTotCosti", QStringLiteral("0"));
    lblTotCosti->setFont(screenFont(QStringLiteral("Verdana,DejaVu Sans"), 14, true));
    markAsStatus(lblTrovate); // the count is read out when it changes
    foot->addWidget(lblTrovate);
    foot->addSpacing(30);
    foot->addWidget(new QLabel(QStringLiteral("Totale ore di lavoro:"), this));
    foot->addWidget(lblTotCosti);
    foot->addStretch(1);
    btnStampa = new QPushButton(QStringLiteral("Stampa riepilogo"), this);
    btnStampa->setObjectName(QStringLiteral("btnStampa"));
    btnEsci = new QPushButton(QStringLiteral("Esci"), this);
    btnEsci->setObjectName(QStringLiteral("btnEsci"));
    for (QPushButton* b : {btnStampa, btnEsci}) {
        b->setMinimumWidth(150);
        makeClickable(b);
        foot->addWidget(b);
    }
    page->addLayout(foot);

    connect(btnStampa, &QPushButton::clicked, this, &TfrmRiepStraordinari::btnStampaClick);
    connect(btnEsci, &QPushButton::clicked, this, &QDialog::reject);
    connect(imgGuida, &PictureBox::clicked, this, &TfrmRiepStraordinari::imgGuidaClick);
    maximiseWindow(this);
}

void TfrmRiepStraordinari::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!loaded_) {
        loaded_ = true;
        load();
    }
}

void TfrmRiepStraordinari::load() {
    const QString codFisc = trimText(menu_->txtCliente->text());
    titTipologia->setText(codFisc.isEmpty() ? QStringLiteral("- - -") : codFisc);
    const QString fromText = menu_->lblDataInizio->text();
    const QString toText = menu_->lblDataFine->text();
    const std::optional<QDate> from = parseDate(fromText);
    const std::optional<QDate> to = parseDate(toText);
    const QString path = workRegisterPath(codFisc);
    HoursSummary summary;
    if (path.isEmpty() || !from || !to || !ensureAppSubfolder(kLavoriFolder))
        summary.ok = false;
    else
        summary = summariseHours(path, *from, *to, true);
    lstRecords->setLines(cardLines(summary.lines));
    lblTotCosti->setText(formatHours(summary.total));
    lblIntervallo->setText(intervalCaption(fromText, toText));
    txtTrova->setFocus(Qt::OtherFocusReason);
    lblTrovate->setText(worksCaption(summary.lines.size()));
    leftOut_ = summary.leftOut.size();
    readWhole_ = summary.ok;
    if (!summary.ok)
        showWarning(this, kArchiveMessage);
    if (!summary.leftOut.isEmpty())
        showWarning(this, leftOutWarning(summary.leftOut));
}

void TfrmRiepStraordinari::btnStampaClick() {
    const QStringList lines = listLines(lstRecords->model());
    if (lines.isEmpty()) {
        showWarning(this, QStringLiteral("Operazione di stampa non applicabile: il riepilogo non contiene nessuna "
                                         "voce."));
        return;
    }
    if (!confirm(this, QStringLiteral("Si vuole stampare il presente riepilogo?")))
        return;
    const QString title = report::hoursSummaryTitle(trimText(titTipologia->text()));
    printListLines(this, title, lines,
                   report::hoursSummaryExtraLines(trimText(lblIntervallo->text()), QString::number(lines.size()),
                                                  trimText(lblTotCosti->text()), leftOut_, readWhole_),
                   title + QLatin1Char(' ') + trimText(lblIntervallo->text()));
}

void TfrmRiepStraordinari::imgGuidaClick() {
    showHelp(this, kHelpRiepilogoOreTitle, helpRiepilogoOre());
}

void TfrmRiepStraordinari::done(int result) {
    lstRecords->lines()->clear();
    menu_->lblAttendere->hide();
    QDialog::done(result);
}

} // namespace ombrisa
