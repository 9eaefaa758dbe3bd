// The call statistics screen: the interval boxes and quick choices, the figures computed off the
// user-interface thread and shown in the tables (compared with ombrisa-tool stats --csv over the same
// register), saving a chart as PDF and PNG, printing, an unreadable register, and the two ways in.

#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/storage/recordfile.h"
#include "core/storage/textfield.h"
#include "report/layouts/statsreport.h"
#include "ui/app/avvio.h"
#include "ui/calls/Chiamate.h"
#include "ui/common/picturebox.h"
#include "ui/stats/Statistiche.h"
#include "uisupport/fakes.h"

#include <QAbstractAxis>
#include <QBarCategoryAxis>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>

#include <cmath>
#include <map>

namespace ombrisa::test {
namespace {

QString runTool(const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.start(QStringLiteral(OMBRISA_TOOL_PATH), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
    }
    if (exitCode)
        *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Waits, with the event loop running, until the screen has finished computing.
bool waitUntilComputed(TfrmStatistiche& screen) {
    QElapsedTimer timer;
    timer.start();
    while (screen.busy() && timer.elapsed() < 60000)
        QTest::qWait(20);
    QApplication::processEvents();
    return !screen.busy();
}

class StatsScreen : public UiTest {
protected:
    std::unique_ptr<TfrmStatistiche> screen;

    void SetUp() override {
        UiTest::SetUp();
        clock.set(QDateTime(QDate(2024, 3, 5), QTime(9, 7, 42)));
    }
    void TearDown() override {
        screen.reset();
        UiTest::TearDown();
    }
    void generate(int calls, int agents = 2) {
        int rc = -1;
        runTool({QStringLiteral("generate"), QStringLiteral("--dir"), dir.path(), QStringLiteral("--clients"),
                 QStringLiteral("50"), QStringLiteral("--calls"), QString::number(calls), QStringLiteral("--agents"),
                 QString::number(agents), QStringLiteral("--works"), QStringLiteral("1"), QStringLiteral("--seed"),
                 QStringLiteral("3")},
                &rc);
        ASSERT_EQ(rc, 0);
    }
    // A register written call by call: date ("dd/mm/yyyy"), type, operator.
    struct HandCall {
        const char* date;
        const char* tipo;
        const char* operatore;
    };
    void writeRegister(const std::vector<HandCall>& calls) {
        TRecordFile f;
        ASSERT_TRUE(f.OpenOrCreate(path(kChiamateFile), sizeof(TRecChiamata)));
        for (const HandCall& c : calls) {
            TRecChiamata rec{};
            PutText(rec.DataRit, QString::fromUtf8(c.date));
            PutText(rec.OreRit, QStringLiteral("10"));
            PutText(rec.OraRit, QStringLiteral("10:15"));
            PutText(rec.Tipo, QString::fromUtf8(c.tipo));
            PutText(rec.Esito, QStringLiteral("Pratica inoltrata all'ufficio tecnico per un sopralluogo"));
            PutText(rec.Durata, QStringLiteral("00:07:30"));
            PutText(rec.Operatore, QString::fromUtf8(c.operatore));
            ASSERT_TRUE(f.Seek(f.Count()));
            ASSERT_TRUE(f.WriteRecord(rec));
        }
        ASSERT_TRUE(f.Close());
    }
    // Opens the screen as the user sees it; its first showing computes the current year.
    void open() {
        screen = std::make_unique<TfrmStatistiche>();
        screen->setWindowState(Qt::WindowNoState);
        screen->resize(1366, 740);
        screen->show();
        ASSERT_TRUE(waitUntilComputed(*screen));
    }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void choose(QComboBox* box, const QString& item) { box->setCurrentIndex(box->findText(item)); }
    QString boxes() const {
        return QStringList{screen->txtGiornoInizio->currentText(), screen->txtMeseInizio->currentText(),
                           screen->txtAnnoInizio->text(), screen->txtGiornoFine->currentText(),
                           screen->txtMeseFine->currentText(), screen->txtAnnoFine->text()}
            .join(QLatin1Char(' '));
    }
};

// The figures of the tool's CSV by section and voce: calls, minutes, unread durations.
using CsvFigures = std::map<std::pair<QString, QString>, QString>;
CsvFigures csvFigures(const QString& csv) {
    CsvFigures figures;
    const QStringList lines = csv.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList f = lines[i].split(QLatin1Char(';'));
        if (f.size() == 5)
            figures[{f[0], f[1]}] = f[2] + QLatin1Char('/') + f[3] + QLatin1Char('/') + f[4];
    }
    return figures;
}

QString plainNumber(const QString& shown) {
    bool ok = false;
    const qlonglong n = QLocale(QLocale::Italian, QLocale::Italy).toLongLong(shown, &ok);
    return ok ? QString::number(n) : QStringLiteral("<%1>").arg(shown);
}

TEST_F(StatsScreen, TheTablesShowTheToolsFiguresForTheSameInterval) {
    generate(3000);
    open();
    choose(screen->txtGiornoInizio, QStringLiteral("01"));
    choose(screen->txtMeseInizio, QStringLiteral("Marzo"));
    screen->txtAnnoInizio->setText(QStringLiteral("2019"));
    choose(screen->txtGiornoFine, QStringLiteral("15"));
    choose(screen->txtMeseFine, QStringLiteral("Giugno"));
    screen->txtAnnoFine->setText(QStringLiteral("2022"));
    click(screen->btnCalcola);
    ASSERT_TRUE(waitUntilComputed(*screen));
    EXPECT_EQ(screen->shownInterval().from, QDate(2019, 3, 1));
    EXPECT_EQ(screen->shownInterval().to, QDate(2022, 6, 15));

    const CsvFigures tool = csvFigures(runTool({QStringLiteral("stats"), QStringLiteral("--dir"), dir.path(),
                                                QStringLiteral("--from"), QStringLiteral("01/03/2019"),
                                                QStringLiteral("--to"), QStringLiteral("15/06/2022"),
                                                QStringLiteral("--csv")}));
    ASSERT_GT(tool.size(), 100u);

    // Every row of the five tables with a voce is a line of the tool's section, and the other way round.
    struct Page {
        TfrmStatistiche::Page page;
        const char* section;
        int calls, minutes, unread; // columns
    };
    const Page pages[] = {{TfrmStatistiche::Mesi, "mese", 4, 5, 6},        {TfrmStatistiche::Esiti, "esito", 1, 2, 4},
                          {TfrmStatistiche::Gradi, "grado", 1, 2, 4},      {TfrmStatistiche::Operatori, "operatore", 1, 2, 4},
                          {TfrmStatistiche::Oggetti, "oggetto", 1, 2, 4}};
    for (const Page& p : pages) {
        SCOPED_TRACE(p.section);
        const QString section = QString::fromLatin1(p.section);
        const QList<QStringList> rows = screen->tableRows(p.page);
        ASSERT_GT(rows.size(), 1);
        std::size_t inTool = 0;
        for (const auto& [key, value] : tool)
            if (key.first == section)
                ++inTool;
        EXPECT_EQ(static_cast<std::size_t>(rows.size() - 1), inTool);
        for (qsizetype r = 1; r < rows.size(); ++r) {
            const QString voce = rows[r][0] == QStringLiteral("(non indicato)") ? QString() : rows[r][0];
            const auto found = tool.find({section, voce});
            ASSERT_NE(found, tool.end()) << voce.toStdString();
            EXPECT_EQ(plainNumber(rows[r][p.calls]) + QLatin1Char('/') + plainNumber(rows[r][p.minutes]) +
                          QLatin1Char('/') + plainNumber(rows[r][p.unread]),
                      found->second)
                << voce.toStdString();
        }
    }
    // The weekday and hour grid: each weekday's total, and each hour's calls summed over the days.
    const QList<QStringList> grid = screen->tableRows(TfrmStatistiche::GiorniOre);
    ASSERT_EQ(grid.size(), 8);
    ASSERT_EQ(grid[0].size(), 26); // day, 24 hours, total
    for (int d = 1; d <= 7; ++d) {
        const auto found = tool.find({QStringLiteral("giorno"), grid[d][0]});
        ASSERT_NE(found, tool.end()) << grid[d][0].toStdString();
        EXPECT_EQ(plainNumber(grid[d][25]), found->second.section(QLatin1Char('/'), 0, 0));
    }
    for (int h = 0; h < 24; ++h) {
        qlonglong sum = 0;
        for (int d = 1; d <= 7; ++d)
            sum += plainNumber(grid[d][h + 1]).toLongLong();
        const auto found = tool.find({QStringLiteral("ora"), QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0'))});
        ASSERT_NE(found, tool.end());
        EXPECT_EQ(QString::number(sum), found->second.section(QLatin1Char('/'), 0, 0)) << h;
    }
    // The total line names the interval and the tool's total.
    const QString total = tool.at({QStringLiteral("totale"), QString()}).section(QLatin1Char('/'), 0, 0);
    EXPECT_TRUE(screen->lblTotale->text().startsWith(
        QStringLiteral("Totale delle chiamate, dal 01/03/2019 al 15/06/2022: %1;")
            .arg(QLocale(QLocale::Italian, QLocale::Italy).toString(total.toLongLong()))))
        << screen->lblTotale->text().toStdString();
    // Every chart was drawn with the interval in its title.
    for (int p = 0; p < TfrmStatistiche::PageCount; ++p)
        EXPECT_TRUE(screen->chart(static_cast<TfrmStatistiche::Page>(p))
                        ->chart()
                        ->title()
                        .endsWith(QStringLiteral("dal 01/03/2019 al 15/06/2022")))
            << p;
}

TEST_F(StatsScreen, TheFirstShowingIsTheCurrentYearAndQuickChoicesFillTheBoxes) {
    generate(400);
    open();
    EXPECT_EQ(boxes(), QStringLiteral("01 Gennaio 2024 31 Dicembre 2024"));
    EXPECT_EQ(screen->shownInterval().from, QDate(2024, 1, 1));

    struct Case {
        QPushButton* TfrmStatistiche::*button;
        const char* shown;
    };
    const Case cases[] = {
        {&TfrmStatistiche::btnMeseScorso, "01 Febbraio 2024 29 Febbraio 2024"},
        {&TfrmStatistiche::btnQuestoMese, "01 Marzo 2024 31 Marzo 2024"},
        {&TfrmStatistiche::btnUltimiDodici, "01 Aprile 2023 31 Marzo 2024"},
        {&TfrmStatistiche::btnTutto, "     "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        click((*screen).*c.button);
        ASSERT_TRUE(waitUntilComputed(*screen));
        EXPECT_EQ(boxes(), QString::fromUtf8(c.shown));
    }
    // Everything: both ends open, every call of the register counted.
    EXPECT_FALSE(screen->shownInterval().from);
    EXPECT_FALSE(screen->shownInterval().to);
    EXPECT_EQ(screen->stats().total.calls, 400);
    EXPECT_FALSE(screen->prgCalcolo->isVisible());
    EXPECT_TRUE(screen->btnCalcola->isEnabled());
    EXPECT_FALSE(screen->btnAnnulla->isEnabled());
}

TEST_F(StatsScreen, HalfFilledOrReversedIntervalsAreRefusedWithTheHoursIntervalMessages) {
    open();
    choose(screen->txtGiornoInizio, QString()); // the year alone is left
    choose(screen->txtMeseInizio, QString());
    messages.expect(MsgKind::Warning, QStringLiteral("Attenzione: indicare il giorno di inizio intervallo "
                                                     "selezionandolo dall'elenco a cascata."));
    click(screen->btnCalcola);
    EXPECT_FALSE(screen->busy());
    messages.verifyAllShown();
    EXPECT_EQ(screen->focusWidget(), screen->txtGiornoInizio);

    choose(screen->txtGiornoInizio, QStringLiteral("10"));
    choose(screen->txtMeseInizio, QStringLiteral("Maggio"));
    choose(screen->txtGiornoFine, QStringLiteral("09"));
    choose(screen->txtMeseFine, QStringLiteral("Maggio"));
    messages.expect(MsgKind::Plain,
                    QStringLiteral("Attenzione: la data di fine intervallo (09/05/2024) non può essere anteriore a "
                                   "quella di inizio intervallo (10/05/2024).\n\r\n\rPer poter visualizzare le "
                                   "statistiche è necessario indicare un intervallo di tempo valido."));
    click(screen->btnCalcola);
    EXPECT_FALSE(screen->busy());
    // The figures shown are still those of the first computation.
    EXPECT_EQ(screen->shownInterval().from, QDate(2024, 1, 1));
}

// The interval boxes are the hours interval's: a day or month takes no typing and is emptied with
// Backspace, a year takes digits only, Enter walks the six boxes, and the bar still fits the screen.
TEST_F(StatsScreen, TheIntervalBoxesAreTheHoursIntervalsBoxes) {
    open();
    QApplication::setActiveWindow(screen.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    screen->txtGiornoInizio->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(screen->txtGiornoInizio, QStringLiteral("15"));
    EXPECT_EQ(screen->txtGiornoInizio->currentText(), QStringLiteral("01"));
    QTest::keyClick(screen->txtGiornoInizio, Qt::Key_Backspace);
    EXPECT_EQ(screen->txtGiornoInizio->currentText(), QString());
    screen->txtAnnoFine->clear();
    QTest::keyClicks(screen->txtAnnoFine, QStringLiteral("2a0-23"));
    EXPECT_EQ(screen->txtAnnoFine->text(), QStringLiteral("2023"));

    const QList<QWidget*> ring{screen->txtGiornoInizio, screen->txtMeseInizio, screen->txtAnnoInizio,
                               screen->txtGiornoFine,   screen->txtMeseFine,   screen->txtAnnoFine};
    screen->txtGiornoInizio->setFocus(Qt::TabFocusReason);
    for (qsizetype i = 1; i <= ring.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QWidget* f = QApplication::focusWidget();
        if (f && qobject_cast<QComboBox*>(f->parentWidget()))
            f = f->parentWidget();
        EXPECT_EQ(f, ring[i % ring.size()]) << "after Enter number " << i;
    }
    EXPECT_FALSE(screen->busy()); // Enter moved on; it started no computation
    EXPECT_LE(screen->minimumSizeHint().width(), 1366);
}

TEST_F(StatsScreen, AChartIsSavedAsPdfAndPngAndPrintedWithTheIntervalInItsTitle) {
    generate(600);
    open();
    click(screen->btnTutto);
    ASSERT_TRUE(waitUntilComputed(*screen));
    screen->tabGrafici->setCurrentIndex(TfrmStatistiche::Operatori);

    const QString pdf = path(QStringLiteral("operatori.pdf"));
    files.expectSave(pdf);
    messages.expect(MsgKind::Information,
                    QStringLiteral("Il grafico è stato salvato nel file %1.").arg(QDir::toNativeSeparators(pdf)));
    click(screen->btnSalva);
    messages.verifyAllShown();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString read = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(read.contains(QStringLiteral("Chiamate e durata media per operatore, tutto il registro")))
        << read.toStdString();
    // The table under the chart: its column names and the first operator's line.
    const QList<QStringList> rows = screen->tableRows(TfrmStatistiche::Operatori);
    ASSERT_GT(rows.size(), 1);
    EXPECT_TRUE(read.contains(QStringLiteral("Durate non lette"))) << read.toStdString();
    EXPECT_TRUE(read.simplified().contains(rows[1].join(QLatin1Char(' ')).simplified())) << read.toStdString();

    const QString png = path(QStringLiteral("operatori.png"));
    files.expectSave(png);
    messages.expect(MsgKind::Information,
                    QStringLiteral("Il grafico è stato salvato nel file %1.").arg(QDir::toNativeSeparators(png)));
    click(screen->btnSalva);
    const QImage image(png);
    EXPECT_EQ(image.size(), report::statsChartPictureSize());
    // A drawn chart, not an empty picture: bars, line, texts and background in many colours.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 8);

    screen->tabGrafici->setCurrentIndex(TfrmStatistiche::Mesi);
    click(screen->btnStampa);
    ASSERT_EQ(printer->printed.size(), 1);
    const report::PreparedItem* title = printer->printed.first().first(QStringLiteral("txtTitolo"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text, QStringLiteral("Chiamate per mese, tutto il registro"));
    EXPECT_NE(printer->printed.first().first(QStringLiteral("imgGrafico")), nullptr);
}

TEST_F(StatsScreen, AnUnreadableRegisterIsSaidAndNothingIsShown) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(kChiamateFile)); // a folder in place of the register
    // The reason is core's, as ombrisa-tool says it.
    const QString why = computeCallStats(path(kChiamateFile), {}).error;
    ASSERT_FALSE(why.isEmpty());
    screen = std::make_unique<TfrmStatistiche>();
    messages.expect(MsgKind::Warning,
                    QStringLiteral("Attenzione: impossibile leggere il registro delle chiamate.\n\r\n\r") + why);
    screen->show();
    ASSERT_TRUE(waitUntilComputed(*screen));
    messages.verifyAllShown();
    EXPECT_FALSE(screen->btnSalva->isEnabled());
    EXPECT_FALSE(screen->btnStampa->isEnabled());
}

TEST_F(StatsScreen, TheCallCardAndTheStartMenuOpenIt) {
    generate(50);
    {
        TfrmChiamate card;
        card.show();
        bool opened = false;
        dialogs.expect(QStringLiteral("frmStatistiche"), [&](QDialog& d) {
            auto& stats = static_cast<TfrmStatistiche&>(d);
            opened = waitUntilComputed(stats);
            d.reject();
        });
        QTest::mouseClick(card.cmdStatistiche, Qt::LeftButton);
        dialogs.verifyAllShown();
        EXPECT_TRUE(opened);
    }
    {
        TfrmAvvio avvio;
        avvio.show();
        ASSERT_NE(avvio.lnkStatistiche, nullptr);
        EXPECT_FALSE(avvio.lnkStatistiche->toolTip().isEmpty());
        dialogs.expect(QStringLiteral("frmStatistiche"), [&](QDialog& d) { d.reject(); });
        QTest::mouseClick(avvio.lnkStatistiche, Qt::LeftButton);
        dialogs.verifyAllShown();
    }
}

// A value axis counts whole calls when every label it draws is a whole number: "0 0 1 1" came from
// fixed ticks at 0, 0.25, 0.5 ... printed with %d.
void expectWholeTicks(const QChart* chart, const char* page) {
    for (QAbstractAxis* axis : chart->axes()) {
        auto* values = qobject_cast<QValueAxis*>(axis);
        if (!values || qobject_cast<QCategoryAxis*>(axis)) // the months' axis is one of categories
            continue;
        SCOPED_TRACE(std::string(page) + ", " + values->titleText().toStdString());
        // Where the labels fall: tickCount evenly spread, or one every tickInterval from the anchor.
        QList<double> labels;
        if (values->tickType() == QValueAxis::TicksFixed) {
            for (int i = 0; i < values->tickCount(); ++i)
                labels.append(values->min() + i * (values->max() - values->min()) / (values->tickCount() - 1));
        } else {
            ASSERT_GT(values->tickInterval(), 0.0);
            for (double v = values->tickAnchor(); v <= values->max() + 1e-9; v += values->tickInterval())
                if (v >= values->min() - 1e-9)
                    labels.append(v);
        }
        ASSERT_GE(labels.size(), 2);
        EXPECT_LE(labels.size(), 12);
        EXPECT_EQ(labels.first(), 0.0);
        EXPECT_EQ(labels.last(), values->max()); // the top is labelled too
        for (const double v : labels)
            EXPECT_EQ(v, std::round(v)) << "a label at " << v;
    }
}

QStringList categoriesOf(const QChart* chart, Qt::Orientation orientation) {
    for (QAbstractAxis* axis : chart->axes(orientation))
        if (auto* names = qobject_cast<QBarCategoryAxis*>(axis))
            return names->categories();
    return {};
}

// A register with one call: every month of the year on the months page, the only one with a call in
// February; each chart's axes count whole calls; the outcome, too long for a narrow table, whole in its cell.
TEST_F(StatsScreen, OneCallShowsEveryMonthOfTheYearOnAxesOfWholeCalls) {
    writeRegister({{"10/02/2024", "In entrata", "Rossi Anna"}});
    open();
    EXPECT_EQ(screen->stats().total.calls, 1);
    EXPECT_EQ(screen->stats().total.seconds, 450); // "00:07:30"
    const QList<QStringList> months = screen->tableRows(TfrmStatistiche::Mesi);
    ASSERT_EQ(months.size(), 13);
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(months[m][0], QStringLiteral("2024-%1").arg(m, 2, 10, QLatin1Char('0')));
        EXPECT_EQ(months[m][4], m == 2 ? QStringLiteral("1") : QStringLiteral("0")) << m;
    }
    const QChart* monthsChart = screen->chart(TfrmStatistiche::Mesi)->chart();
    const auto xAxes = monthsChart->axes(Qt::Horizontal);
    ASSERT_EQ(xAxes.size(), 1);
    auto* monthAxis = qobject_cast<QCategoryAxis*>(xAxes.first());
    ASSERT_NE(monthAxis, nullptr);
    EXPECT_EQ(monthAxis->count(), 12);
    EXPECT_EQ(monthAxis->categoriesLabels().first(), QStringLiteral("01/2024"));
    EXPECT_EQ(monthAxis->categoriesLabels().last(), QStringLiteral("12/2024"));

    static const char* const pages[] = {"Mesi", "Esiti", "Soddisfazione", "Operatori", "Oggetti", "Giorni e ore"};
    for (int p = 0; p < TfrmStatistiche::PageCount; ++p)
        expectWholeTicks(screen->chart(static_cast<TfrmStatistiche::Page>(p))->chart(), pages[p]);
    // A one-call axis reads 0, 1, 2: one tick per call.
    const auto yAxes = monthsChart->axes(Qt::Vertical);
    ASSERT_EQ(yAxes.size(), 1);
    EXPECT_EQ(static_cast<QValueAxis*>(yAxes.first())->tickInterval(), 1.0);

    // The pie: the share beside the slice, the outcome whole in the legend (in lines, never cut).
    const QChart* pie = screen->chart(TfrmStatistiche::Esiti)->chart();
    const auto pieMarkers = pie->legend()->markers();
    ASSERT_EQ(pieMarkers.size(), 1);
    EXPECT_EQ(pieMarkers.first()->label().replace(QStringLiteral("<br>"), QStringLiteral(" ")),
              QStringLiteral("Pratica inoltrata all'ufficio tecnico per un sopralluogo (100,0%)").toHtmlEscaped());
    const auto* slices = qobject_cast<QPieSeries*>(pie->series().first());
    ASSERT_NE(slices, nullptr);
    EXPECT_EQ(slices->slices().first()->label(), QStringLiteral("100,0%"));

    // The outcome's cell is as wide as its text.
    screen->tabGrafici->setCurrentIndex(TfrmStatistiche::Esiti);
    QApplication::processEvents();
    QTableView* table = screen->table(TfrmStatistiche::Esiti);
    const QString outcome = table->model()->index(0, 0).data().toString();
    EXPECT_TRUE(outcome.startsWith(QStringLiteral("Pratica inoltrata")));
    EXPECT_GE(table->columnWidth(0), table->fontMetrics().horizontalAdvance(outcome));
    EXPECT_GE(table->viewport()->width(), table->columnWidth(0)) << "the outcome column is out of sight";
}

// Opened from the call card, the screen offers saving at once: the PDF of the operators' page names all
// twenty operators, whole, and their chart has a bar for each (no "Altro"), in two pictures on paper.
TEST_F(StatsScreen, FromTheCallCardThePdfIsSavedAtOnceWithEveryOperator) {
    generate(3000, 20);
    TfrmChiamate card;
    card.show();
    QStringList operators, bars;
    QString read;
    int pictures = -1;
    dialogs.expect(QStringLiteral("frmStatistiche"), [&](QDialog& d) {
        auto& stats = static_cast<TfrmStatistiche&>(d);
        ASSERT_TRUE(waitUntilComputed(stats));
        EXPECT_TRUE(stats.btnSalva->isEnabled());
        EXPECT_TRUE(stats.btnStampa->isEnabled());
        for (const StatsRow& r : stats.stats().operatore)
            operators.append(r.voce);
        bars = categoriesOf(stats.chart(TfrmStatistiche::Operatori)->chart(), Qt::Vertical);
        stats.tabGrafici->setCurrentIndex(TfrmStatistiche::Operatori);
        const QString pdf = path(QStringLiteral("operatori.pdf"));
        files.expectSave(pdf);
        messages.expect(MsgKind::Information,
                        QStringLiteral("Il grafico è stato salvato nel file %1.").arg(QDir::toNativeSeparators(pdf)));
        QTest::mouseClick(stats.btnSalva, Qt::LeftButton);
        messages.verifyAllShown();
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        EXPECT_TRUE(text.waitForFinished(30000));
        read = QString::fromUtf8(text.readAllStandardOutput());
        QProcess images;
        images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        EXPECT_TRUE(images.waitForFinished(30000));
        // Two lines of heading, then one line per picture.
        pictures =
            static_cast<int>(
                QString::fromUtf8(images.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts).size()) -
            2;
        d.reject();
    });
    QTest::mouseClick(card.cmdStatistiche, Qt::LeftButton);
    dialogs.verifyAllShown();

    ASSERT_EQ(operators.size(), 20);
    EXPECT_EQ(bars.size(), 20);
    EXPECT_FALSE(bars.contains(QStringLiteral("Altro")));
    for (const QString& name : operators) {
        EXPECT_TRUE(read.contains(name)) << name.toStdString() << "\n" << read.toStdString();
        EXPECT_TRUE(bars.contains(name)) << name.toStdString();
    }
    EXPECT_EQ(pictures, 2); // ten operators a picture, each name with room for its row
}

// A cancelled calculation leaves the figures of before, and the boxes go back to their interval.
TEST_F(StatsScreen, ACancelledCalculationPutsTheBoxesBack) {
    generate(6000); // more calls than the scan reads between two looks at Annulla
    open();
    EXPECT_EQ(boxes(), QStringLiteral("01 Gennaio 2024 31 Dicembre 2024"));
    const std::int64_t before = screen->stats().total.calls;
    {
        // Another workstation holds the register: the calculation waits for it, and meanwhile Annulla.
        TRecordFile holder;
        ASSERT_TRUE(holder.OpenOrCreate(path(kChiamateFile), sizeof(TRecChiamata), TRecordFile::Access::Write));
        screen->txtAnnoInizio->setText(QStringLiteral("2019"));
        screen->txtAnnoFine->setText(QStringLiteral("2020"));
        click(screen->btnCalcola);
        ASSERT_TRUE(screen->busy());
        click(screen->btnAnnulla);
        holder.Close();
    }
    ASSERT_TRUE(waitUntilComputed(*screen));
    EXPECT_EQ(boxes(), QStringLiteral("01 Gennaio 2024 31 Dicembre 2024"));
    EXPECT_EQ(screen->shownInterval().from, QDate(2024, 1, 1));
    EXPECT_EQ(screen->stats().total.calls, before);
    EXPECT_EQ(screen->lblTotale->text(),
              QStringLiteral("Calcolo annullato: restano le statistiche di prima (dal 01/01/2024 al 31/12/2024)."));
    EXPECT_TRUE(screen->btnSalva->isEnabled());
}

} // namespace
} // namespace ombrisa::test
