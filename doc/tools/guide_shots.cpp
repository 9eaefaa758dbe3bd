// Build step: the pictures of the user guide, taken from the program's own screens drawn offscreen over
// sample archives, so that the guide always shows the screens as they are.
// Usage: ombrisa-guide-shots <output folder> <ombrisa-tool>

#include "core/backup/backupsettings.h"
#include "core/password/passwordfile.h"
#include "core/storage/appfolder.h"
#include "ui/agents/Dipendenti.h"
#include "ui/app/avvio.h"
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
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QProcess>
#include <QSpinBox>
#include <QTabWidget>
#include <QThread>
#include <QTemporaryDir>
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
        // The information screen names the data folder: show the usual one of an installed program.
        setAppFolderOverride(QStringLiteral("/home/ufficio/.local/share/Ombrisa/Ombrisa"));
        TfrmInfo info(&avvio);
        setAppFolderOverride(data.path());
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
