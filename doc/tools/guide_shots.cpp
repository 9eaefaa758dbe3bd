// Build step: the pictures of the user guide, taken from the program's own screens drawn offscreen over
// sample archives, so that the guide always shows the screens as they are.
// Usage: ombrisa-guide-shots <output folder> <ombrisa-tool>

#include "core/backup/backupsettings.h"
#include "core/password/passwordfile.h"
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/search/searchrules.h"
#include "core/storage/appfolder.h"
#include "core/storage/datafolder.h"
#include "core/storage/textfield.h"
#include "ui/agents/Lavori_Svolti.h"
#include "ui/lists/cardlinelist.h"
#include "ui/agents/WebCam.h"
#include "ui/attachments/AllegaCartella.h"
#include "ui/calls/RiepChiamateOggi.h"
#include "ui/calls/StoricoChiamate.h"
#include "ui/clients/Ricontatta.h"
#include "ui/common/services.h"
#include "ui/export/ExpClienti.h"
#include "ui/hours/MenuRiepStraordinari.h"
#include "ui/hours/RiepStraordinari.h"
#include "ui/search/Trova.h"
#include "ui/validators/codfiscdialog.h"
#include "ui/agents/Dipendenti.h"
#include "ui/app/avvio.h"
#include "ui/app/datafolderstart.h"
#include "ui/app/info.h"
#include "ui/app/password.h"
#include "ui/backup/CopiaSicurezza.h"
#include "ui/calls/Chiamate.h"
#include "ui/clients/Clienti.h"
#include "ui/common/conventions.h"
#include "ui/import/Importa.h"
#include "ui/phone/incomingcall.h"
#include "ui/privacy/privacy.h"
#include "ui/stats/Statistiche.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QProcess>
#include <QSpinBox>
#include <QTabWidget>
#include <QThread>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <cstdio>

using namespace ombrisa;

namespace {

// Lays the window out at the size of a common office screen and saves it as a PNG.
// A card screen is shown with its first card (a work area opens on a new card: the click comes after).
bool shoot(QWidget& window, const QString& file, QSize size = {}, bool firstCard = false) {
    if (size.isValid()) {
        window.setWindowState(Qt::WindowNoState);
        window.setGeometry(QRect(QPoint(0, 0), size));
    }
    window.show();
    QApplication::processEvents();
    if (auto* first = window.findChild<QAbstractButton*>(QStringLiteral("cmdPrimo")); first && firstCard) {
        first->click();
        QApplication::processEvents();
    }
    if (!window.grab().save(file)) {
        std::fprintf(stderr, "ombrisa-guide-shots: impossibile scrivere %s\n", qPrintable(file));
        return false;
    }
    window.hide();
    return true;
}


// ---- The lists, the work register, the hours, the exports, attachments and the camera ----------

// One card of an archive of the sample folder, read as stored (card numbers start at 1).
template <typename Record> Record sampleCard(const QString& archive, std::int64_t card) {
    Record rec{};
    readCard(appPath(archive), sizeof rec, card, &rec);
    return rec;
}

// The client search: its filters with the zone of the first client typed in, then what it finds.
bool shootSearch(TfrmClienti& clienti, const QString& out) {
    TfrmTrovaClienti trova(&clienti);
    const QString zone = trimText(GetText(sampleCard<TRecCliente>(kClientiFile, 1).Zona));
    for (std::size_t i = 0; i < trova.rules().filters.size(); ++i)
        if (QLatin1String(trova.rules().filters[i].box) == QLatin1String("txtZona"))
            trova.filterBoxes()[static_cast<qsizetype>(i)]->setText(zone);
    bool ok = shoot(trova, out + QStringLiteral("/trova.png"));
    trova.btnCerca->click();
    ok &= shoot(trova, out + QStringLiteral("/trova-elenco.png"));
    return ok;
}

// The client card with its Privacy menu open: the menu is a window of its own, painted here where it
// drops down under its button.
bool shootPrivacyMenu(TfrmClienti& clienti, const QString& out, QSize office) {
    clienti.setWindowState(Qt::WindowNoState);
    clienti.setGeometry(QRect(QPoint(0, 0), office));
    clienti.show();
    QApplication::processEvents();
    clienti.findChild<QAbstractButton*>(QStringLiteral("cmdPrimo"))->click();
    QApplication::processEvents();
    QMenu* menu = clienti.cmdPrivacy->menu();
    const QPoint at =
        clienti.cmdPrivacy->mapTo(&clienti, QPoint(clienti.cmdPrivacy->width() / 2, clienti.cmdPrivacy->height()));
    menu->popup(clienti.mapToGlobal(at));
    QApplication::processEvents();
    QPixmap picture = clienti.grab();
    {
        QPainter painter(&picture);
        const QPoint corner(std::min(at.x(), picture.width() - menu->width() - 4), at.y());
        painter.drawPixmap(corner, menu->grab());
    }
    menu->hide();
    clienti.hide();
    if (!picture.save(out + QStringLiteral("/privacy-menu.png"))) {
        std::fprintf(stderr, "ombrisa-guide-shots: impossibile scrivere privacy-menu.png\n");
        return false;
    }
    return true;
}

// The question at start-up when the data folder given with --data holds nothing of the program (a share
// that is not mounted), with the folder an office would give.
bool shootDataFolderQuestion(const QString& out) {
    QTemporaryDir mount;
    QString message;
    if (!mount.isValid() ||
        prepareDataFolder({mount.path(), DataFolderSource::Option}, &message) != DataFolderStatus::LooksEmpty)
        return false;
    message.replace(mount.path(), QStringLiteral("/mnt/ufficio"));
    TfrmCartellaDati question(nullptr, message);
    return shoot(question, out + QStringLiteral("/cartella-dati.png"));
}

bool shootRecontact(TfrmClienti& clienti, const QString& out) {
    TfrmRicontatta ricontatta(&clienti);
    return shoot(ricontatta, out + QStringLiteral("/ricontatta.png"));
}

// The register of the first agent: its list, then the edit panel with its first work.
bool shootWorkRegister(TfrmDipendenti& dipendenti, const QString& out) {
    TfrmLavori_Svolti lavori(&dipendenti, dipendenti.txtDipendente, dipendenti.txtCodFisc);
    bool ok = shoot(lavori, out + QStringLiteral("/lavori.png"));
    lavori.show();
    QApplication::processEvents();
    const QModelIndex first = lavori.lstRecords->model()->index(0, 0);
    lavori.lstRecords->setCurrentIndex(first);
    lavori.lstRecords->selectionModel()->select(first, QItemSelectionModel::ClearAndSelect);
    lavori.btnModifica->click();
    ok &= shoot(lavori, out + QStringLiteral("/lavori-scheda.png"));
    return ok;
}

// The interval screen with the first agent and the first two months of the sample works, and the
// summary it opens.
bool shootHours(const QString& out, QSize office) {
    TfrmMenuRiepStraordinari menu;
    menu.show();
    QApplication::processEvents();
    menu.txtCliente->setText(trimText(GetText(sampleCard<TRecDipendente>(kDipendentiFile, 1).CodFisc)));
    menu.txtGiornoInizio->setCurrentIndex(0);
    menu.txtMeseInizio->setCurrentIndex(0);
    menu.txtAnnoInizio->setText(QStringLiteral("2023"));
    menu.txtGiornoFine->setCurrentIndex(27);
    menu.txtMeseFine->setCurrentIndex(1);
    menu.txtAnnoFine->setText(QStringLiteral("2023"));
    bool ok = shoot(menu, out + QStringLiteral("/periodo.png"), office);
    menu.lblDataInizio->setText(QStringLiteral("01/01/2023"));
    menu.lblDataFine->setText(QStringLiteral("28/02/2023"));
    TfrmRiepStraordinari riepilogo(&menu);
    ok &= shoot(riepilogo, out + QStringLiteral("/riepilogo.png"), office);
    return ok;
}

// The client export, today's calls (on the day of a sample call) and the history of that call's client.
bool shootExports(TfrmClienti& clienti, const QString& out) {
    bool ok = true;
    {
        TfrmExpClienti esporta(&clienti);
        ok &= shoot(esporta, out + QStringLiteral("/esporta.png"));
    }
    const TRecChiamata call = sampleCard<TRecChiamata>(kChiamateFile, 3);
    struct OnTheDay final : Clock {
        QDateTime at;
        QDateTime now() const override { return at; }
    } day;
    day.at = QDateTime(QDate::fromString(trimText(GetText(call.DataRit)), QStringLiteral("dd/MM/yyyy")), QTime(18, 0));
    setClock(&day);
    {
        TfrmRiepChiamateOggi oggi(&clienti);
        ok &= shoot(oggi, out + QStringLiteral("/oggi.png"));
    }
    setClock(nullptr);
    TfrmStoricoChiamate storico(&clienti, trimText(GetText(call.CodFisc)));
    ok &= shoot(storico, out + QStringLiteral("/storico.png"));
    return ok;
}

bool shootAttachments(TfrmClienti& clienti, const QString& out) {
    TfrmAllegaCartella allega(&clienti);
    allega.lblMemory->setText(QStringLiteral("clienti"));
    allega.txtFile01->setText(QStringLiteral("Carta identità Fabbri.pdf"));
    allega.txtDesc01->setText(QStringLiteral("Copia del documento di riconoscimento"));
    allega.txtFile02->setText(QStringLiteral("Preventivo 2025.odt"));
    allega.txtDesc02->setText(QStringLiteral("Preventivo inviato a marzo"));
    return shoot(allega, out + QStringLiteral("/allegati.png"));
}

// A camera that shows a drawn head and shoulders, so that the picture of the capture screen has a
// live image without a camera.
class DrawnCamera final : public FrameSource {
public:
    bool start(QString&) override {
        QImage frame(640, 480, QImage::Format_RGB32);
        frame.fill(QColor(0xDD, 0xE6, 0xEE));
        QPainter painter(&frame);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x40, 0x8A, 0xB3));
        painter.drawEllipse(QRectF(170, 330, 300, 260));
        painter.setBrush(QColor(0xE8, 0xC4, 0xA8));
        painter.drawEllipse(QRectF(245, 120, 150, 190));
        painter.end();
        emit frameReady(frame);
        return true;
    }
    void stop() override {}
};

bool shootWebCam(TfrmDipendenti& dipendenti, const QString& out) {
    DrawnCamera camera;
    setFrameSource(&camera);
    bool ok;
    {
        TfrmWebCam webcam(&dipendenti);
        webcam.show();
        webcam.btnAccendi->click();
        QApplication::processEvents();
        webcam.btnCattura->click();
        ok = shoot(webcam, out + QStringLiteral("/webcam.png"));
        webcam.btnSpegni->click();
    }
    setFrameSource(nullptr);
    return ok;
}

// The codice fiscale check, opened with the first client's code.
bool shootCodeCheck(TfrmClienti& clienti, const QString& out) {
    TfrmCodFisc check(&clienti);
    check.setFieldText(GetText(sampleCard<TRecCliente>(kClientiFile, 1).CodFisc));
    return shoot(check, out + QStringLiteral("/controllo.png"));
}

// Every picture of the chapters on the lists, the work register, the hours, the exports, the
// attachments and the camera.
bool shootListsAndTools(const QString& out, QSize office) {
    bool ok = true;
    {
        TfrmClienti clienti;
        clienti.show();
        ok &= shootSearch(clienti, out);
        ok &= shootRecontact(clienti, out);
        ok &= shootExports(clienti, out);
        ok &= shootAttachments(clienti, out);
        ok &= shootCodeCheck(clienti, out);
        clienti.hide();
    }
    {
        TfrmDipendenti dipendenti;
        dipendenti.show();
        QApplication::processEvents();
        dipendenti.findChild<QAbstractButton*>(QStringLiteral("cmdPrimo"))->click();
        ok &= shootWorkRegister(dipendenti, out);
        ok &= shootWebCam(dipendenti, out);
        dipendenti.hide();
    }
    ok &= shootHours(out, office);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    setupApplication(app);
    if (argc != 3) {
        std::fprintf(stderr, "uso: ombrisa-guide-shots <cartella> <ombrisa-tool>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir data;
    if (!QDir().mkpath(out) || !data.isValid())
        return 1;
    const int generated = QProcess::execute(QString::fromLocal8Bit(argv[2]),
                                            {QStringLiteral("generate"), QStringLiteral("--dir"), data.path(),
                                             QStringLiteral("--clients"), QStringLiteral("20"),
                                             QStringLiteral("--calls"), QStringLiteral("40"),
                                             QStringLiteral("--agents"), QStringLiteral("4"), QStringLiteral("--works"),
                                             QStringLiteral("10"), QStringLiteral("--seed"), QStringLiteral("7")});
    if (generated != 0)
        return 1;
    setAppFolderOverride(data.path());
    writeStoredPassword(data.filePath(QStringLiteral("unins000.dll")), kFirstAccessPassword);

    const QSize office(1366, 768);
    bool ok = true;
    {
        TfrmPassword password;
        ok &= shoot(password, out + QStringLiteral("/password.png"));
    }
    {
        TfrmAvvio avvio;
        ok &= shoot(avvio, out + QStringLiteral("/avvio.png"), office);
        ok &= shootDataFolderQuestion(out);
        // The information screen names the data folder: show the usual one of an installed program.
        setAppFolderOverride(QStringLiteral("/home/ufficio/.local/share/Ombrisa/Ombrisa"));
        TfrmInfo info(&avvio);
        setAppFolderOverride(data.path());
        // Two workstations of an office using the folder, this one first.
        const QDateTime morning(QDate(2026, 12, 11), QTime(8, 42));
        Workstation here;
        here.host = QStringLiteral("RECEPTION");
        here.user = QStringLiteral("anna");
        here.started = morning;
        here.lastBeat = morning.addSecs(3 * 3600 + 17 * 60 + 5);
        here.lockSeen = here.own = true;
        Workstation second = here;
        second.host = QStringLiteral("UFFICIO-2");
        second.user = QStringLiteral("marco");
        second.started = morning.addSecs(-25 * 60);
        second.lastBeat = here.lastBeat.addSecs(-12);
        second.own = false;
        info.showWorkstations({second, here});
        ok &= shoot(info, out + QStringLiteral("/info.png"));
        // The backup screen after a backup onto a stick.
        recordBackup(data.path(), QStringLiteral("/media/ufficio/CHIAVETTA/Ombrisa_2026-12-10_1730.tar.zst"),
                     QDateTime(QDate(2026, 12, 10), QTime(17, 30)));
        TfrmCopiaSicurezza copia(&avvio);
        copia.lblCartellaDati->setText(QStringLiteral("Cartella dei dati: /home/ufficio/.local/share/Ombrisa/Ombrisa"));
        ok &= shoot(copia, out + QStringLiteral("/copia.png"));
    }
    {
        TfrmClienti clienti;
        ok &= shoot(clienti, out + QStringLiteral("/clienti.png"), office, true);
        ok &= shootPrivacyMenu(clienti, out, office);
        TfrmConservazione conservazione(&clienti);
        conservazione.txtAnni->setValue(3);
        conservazione.refresh();
        ok &= shoot(conservazione, out + QStringLiteral("/conservazione.png"));
    }
    {
        TfrmChiamate chiamate;
        ok &= shoot(chiamate, out + QStringLiteral("/chiamate.png"), office, true);
    }
    {
        // Several client cards with the caller's number: the choice.
        const std::vector<TfrmChiChiama::Row> rows{
            {3, QStringLiteral("Fabbri Chiara"), QStringLiteral("Tel. casa"), QStringLiteral("12/02/2024")},
            {17, QStringLiteral("Fabbri Luigi"), QStringLiteral("Tel. preferenziale"), QStringLiteral("nessuna")}};
        TfrmChiChiama chi(QStringLiteral("+39 06 5551234"), rows, nullptr);
        ok &= shoot(chi, out + QStringLiteral("/chichiama.png"));
    }
    {
        TfrmDipendenti dipendenti;
        ok &= shoot(dipendenti, out + QStringLiteral("/dipendenti.png"), office, true);
    }
    {
        // The import of a small sheet: the columns guessed from its headings, then the preview.
        QFile sheet(data.filePath(QStringLiteral("nuovi clienti.csv")));
        if (!sheet.open(QIODevice::WriteOnly) ||
            sheet.write("Ragione sociale;Telefono;Cellulare;CF;P.IVA;E-mail;Comune;Note\r\n"
                        "Fabbri Chiara;06 5551234;333 1234567;FBBCHR44L44A952H;;chiara.fabbri@example.it;Roma RM;\r\n"
                        "Studio Conti;02 4455667;;;01234567897;info@studioconti.example.it;Milano MI;Cliente dal 2019\r\n"
                        "Pellegrini Marta;;347 7654321;PLLMRT63D43G999U;;marta.pellegrini@example.it;Milano MI;\r\n"
                        "De Angelis Giulia;011 998877;;DNGGLI61A71L781J;;;Torino TO;Da richiamare\r\n"
                        "Fabbri Chiara;06 5551234;;FBBCHR44L44A952H;;;Roma RM;Doppia\r\n") < 0)
            return 1;
        sheet.close();
        TfrmImporta importa(nullptr, ImportArchive::Clienti);
        importa.loadFile(sheet.fileName());
        importa.cmdAvanti->click();
        ok &= shoot(importa, out + QStringLiteral("/importa-colonne.png"), QSize(1100, 620));
        importa.cmdAvanti->click();
        ok &= shoot(importa, out + QStringLiteral("/importa.png"), QSize(1100, 620));
    }
    ok &= shootListsAndTools(out, office);
    {
        // The call statistics over ten years of a busier register than the cards' sample.
        QTemporaryDir busy;
        if (!busy.isValid() ||
            QProcess::execute(QString::fromLocal8Bit(argv[2]),
                              {QStringLiteral("generate"), QStringLiteral("--dir"), busy.path(),
                               QStringLiteral("--clients"), QStringLiteral("300"), QStringLiteral("--calls"),
                               QStringLiteral("6000"), QStringLiteral("--agents"), QStringLiteral("6"),
                               QStringLiteral("--works"), QStringLiteral("1"), QStringLiteral("--seed"),
                               QStringLiteral("11")}) != 0)
            return 1;
        setAppFolderOverride(busy.path());
        TfrmStatistiche statistiche;
        statistiche.setWindowState(Qt::WindowNoState);
        statistiche.setGeometry(QRect(QPoint(0, 0), office));
        statistiche.show();
        const auto settle = [&statistiche] {
            QElapsedTimer timer;
            timer.start();
            while (statistiche.busy() && timer.elapsed() < 120000) {
                QApplication::processEvents();
                QThread::msleep(10);
            }
            QApplication::processEvents();
        };
        settle();
        statistiche.btnTutto->click();
        settle();
        static const char* const pages[] = {"mesi", "esiti", "soddisfazione", "operatori", "oggetti", "orari"};
        for (int p = 0; p < TfrmStatistiche::PageCount; ++p) {
            statistiche.tabGrafici->setCurrentIndex(p);
            ok &= shoot(statistiche, out + QStringLiteral("/statistiche-%1.png").arg(QLatin1String(pages[p])), office);
        }
        setAppFolderOverride(data.path());
    }
    return ok ? 0 : 1;
}
