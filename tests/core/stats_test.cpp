// Call statistics: the duration parser's forms, and every section of the figures over a small
// register built here call by call.
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/stats/callstats.h"
#include "core/stats/duration.h"
#include "core/work/hourssummary.h"
#include "testfolder.h"

#include <cstring>

using namespace ombrisa;

TEST(DurationParser, ReadsTheFormsOfItsTable) {
    struct Case {
        const char* text;
        std::optional<int> seconds;
    };
    const Case cases[] = {
        {"15", 900},
        {"7,5", 450},
        {"4 minuti", 240},
        {"1 minuto", 60},
        {"4 min", 240},
        {"4m", 240},
        {"4 Min.", 240},
        {"10'", 600},
        {"10’", 600},
        {"2 ore", 7200},
        {"1 ora", 3600},
        {"1h", 3600},
        {"1,5 ore", 5400},
        {"90 secondi", 90},
        {"90 sec", 90},
        {"90s", 90},
        {"30\"", 30},
        {"30''", 30},
        {"1h 10m", 4200},
        {"1h10", 4200},
        {"1 ora e 10", 4200},
        {"1 ora e 10 minuti", 4200},
        {"2 minuti e 30 secondi", 150},
        {"2 min 30", 150},
        {"10'30", 630},
        {"10'30\"", 630},
        {"mezz'ora", 1800},
        {"Mezz’ora", 1800},
        {"mezzora", 1800},
        {"un quarto d'ora", 900},
        {"tre quarti d'ora", 2700},
        {"un'ora", 3600},
        {"1 ora e mezza", 5400},
        {"2 minuti e mezzo", 150},
        {"un minuto", 60},
        {"due minuti", 120},
        {"venti minuti", 1200},
        {"circa 5 minuti", 300},
        {"5 minuti circa", 300},
        {"ca. 5 min", 300},
        {"  12 MINUTI  ", 720},
        {"0", 0},
        // Clock forms: h:mm:ss always, mm:ss as a call timer shows it.
        {"00:07:30", 450},
        {"1:02:03", 3723},
        {"0:00:45", 45},
        {"10:00:00", 36000},
        {"0:00", 0},
        {"7:30", 450},
        {"1:10", 70},
        {"59:59", 3599},
        {"75:10", 4510},
        {" circa 07:30 ", 450},
        {"00:07:30.", 450},
        // Not durations.
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"breve", std::nullopt},
        {"5 minuti lunga", std::nullopt},
        {"-5 minuti", std::nullopt},
        {"7:75", std::nullopt},
        {"1:2", std::nullopt},
        {":30", std::nullopt},
        {"7:", std::nullopt},
        {"1:60:00", std::nullopt},
        {"1:02:3", std::nullopt},
        {"1:02:03:04", std::nullopt},
        {"7:30 minuti", std::nullopt},
        {"-7:30", std::nullopt},
        {"7.5:30", std::nullopt},
        {"999999:00", std::nullopt},
        {"minuti", std::nullopt},
        {"5 10", std::nullopt},
        {"1 ora e 10 e 5 e 3", std::nullopt}, // after seconds there is no smaller unit
        {"un quarto", std::nullopt},
        {"e mezza", std::nullopt},
        {"99999999999 ore", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseDuration(QString::fromUtf8(c.text)), c.seconds) << c.text;
}

namespace {

struct Call {
    const char* data; // DataRit as stored (may be empty)
    const char* giorno;
    const char* mese;
    const char* anno;
    const char* ore; // OreRit
    const char* ora; // OraRit
    const char* tipo;
    const char* oggetto;
    const char* esito;
    const char* grado;
    const char* durata;
    const char* operatore;
};

// Writes a field's length byte and its bytes exactly as given (blanks kept), as another program might.
template <std::size_t N> void putRaw(ShortString<N>& f, const char* text) {
    const QByteArray bytes = QString::fromUtf8(text).toLatin1();
    f.length = static_cast<std::uint8_t>(bytes.size());
    std::memcpy(f.text, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QByteArray registerBytes(const std::vector<Call>& calls) {
    QByteArray out;
    for (const Call& c : calls) {
        TRecChiamata r;
        std::memset(&r, 0, sizeof r);
        putRaw(r.DataRit, c.data);
        putRaw(r.GiornoRit, c.giorno);
        putRaw(r.MeseRit, c.mese);
        putRaw(r.AnnoRit, c.anno);
        putRaw(r.OreRit, c.ore);
        putRaw(r.OraRit, c.ora);
        putRaw(r.Tipo, c.tipo);
        putRaw(r.Oggetto, c.oggetto);
        putRaw(r.Esito, c.esito);
        putRaw(r.Grado, c.grado);
        putRaw(r.Durata, c.durata);
        putRaw(r.Operatore, c.operatore);
        out.append(reinterpret_cast<const char*>(&r), sizeof r);
    }
    return out;
}

// Eight calls: six in March to June 2024 (one dated only by its split fields), one whose date does not
// exist and one of 2023.
const std::vector<Call> kCalls = {
    {"04/03/2024", "04", "Marzo", "2024", "09", "09:15", "In entrata", "Preventivo", "Risolto", "Soddisfatto",
     "4 minuti", "Anna"},
    {"05/03/2024", "05", "Marzo", "2024", "09", "09:40", "In uscita", "Preventivo", "Da richiamare", "soddisfatto ",
     "1h 10m", "Bruno"},
    {"05/03/2024", "05", "Marzo", "2024", "14", "14:05", "in entrata", "Guasto", "Risolto", "Molto soddisfatto",
     "mezz'ora", "Anna"},
    {"10/04/2024", "10", "Aprile", "2024", "", "", "In entrata", "Guasto", "Risolto", "SODDISFATTO", "breve", "Anna"},
    {"15/06/2024", "15", "Giugno", "2024", "18", "18:30", "In uscita", "Fattura", "Inviata", "", "90 secondi",
     "Bruno"},
    {"31/02/2024", "31", "Febbraio", "2024", "10", "10:00", "In entrata", "Guasto", "Risolto", "Soddisfatto", "10'",
     "Anna"},
    {"01/01/2023", "01", "Gennaio", "2023", "08", "08:00", "In entrata", "Preventivo", "Risolto", "Soddisfatto",
     "5 minuti", "Anna"},
    {"", "07", "Marzo", "2024", "", "11:20", "Fax", " Preventivo ", "", "Molto soddisfatto", "", "Carla"},
};

struct Expected {
    const char* voce;
    std::int64_t calls, minutes, unread;
};

void expectRows(const QList<StatsRow>& rows, const std::vector<Expected>& expected, const char* section) {
    ASSERT_EQ(rows.size(), static_cast<qsizetype>(expected.size())) << section;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const StatsRow& r = rows[static_cast<qsizetype>(i)];
        EXPECT_EQ(r.voce, QString::fromUtf8(expected[i].voce)) << section << ' ' << i;
        EXPECT_EQ(r.figure.calls, expected[i].calls) << section << ' ' << expected[i].voce;
        EXPECT_EQ(r.figure.minutes(), expected[i].minutes) << section << ' ' << expected[i].voce;
        EXPECT_EQ(r.figure.unread, expected[i].unread) << section << ' ' << expected[i].voce;
    }
}

class CallStatistics : public TestFolder {
protected:
    void SetUp() override {
        TestFolder::SetUp();
        write(kChiamateFile, registerBytes(kCalls));
    }
    CallStats spring() const {
        return computeCallStats(path(kChiamateFile), {QDate(2024, 3, 1), QDate(2024, 6, 30)});
    }
};

} // namespace

TEST_F(CallStatistics, EverySectionOverTheHandBuiltRegister) {
    const CallStats s = spring();
    ASSERT_TRUE(s.ok);
    // 4 min + 70 min + 30 min + 90 s + 10 min (the undated call) = 6930 s, 115.5 minutes rounded up.
    EXPECT_EQ(s.total.calls, 7);
    EXPECT_EQ(s.total.seconds, 6930);
    EXPECT_EQ(s.total.minutes(), 116);
    EXPECT_EQ(s.total.unread, 2);
    ASSERT_EQ(s.undated.size(), 1);
    EXPECT_EQ(s.undated[0].number, 6);
    EXPECT_EQ(s.undated[0].data, QStringLiteral("31/02/2024"));

    // Every month from the first to the last, the empty May included.
    struct Month {
        const char* voce;
        std::int64_t calls, minutes, unread, incoming, outgoing, other;
    };
    const Month months[] = {{"2024-03", 4, 104, 1, 2, 1, 1},
                            {"2024-04", 1, 0, 1, 1, 0, 0},
                            {"2024-05", 0, 0, 0, 0, 0, 0},
                            {"2024-06", 1, 2, 0, 0, 1, 0}};
    ASSERT_EQ(s.months.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const StatsMonth& m = s.months[i];
        EXPECT_EQ(m.voce, QLatin1String(months[i].voce));
        EXPECT_EQ(m.figure.calls, months[i].calls) << months[i].voce;
        EXPECT_EQ(m.figure.minutes(), months[i].minutes) << months[i].voce;
        EXPECT_EQ(m.figure.unread, months[i].unread) << months[i].voce;
        EXPECT_EQ(m.incoming, months[i].incoming) << months[i].voce;
        EXPECT_EQ(m.outgoing, months[i].outgoing) << months[i].voce;
        EXPECT_EQ(m.other, months[i].other) << months[i].voce;
    }

    // Types as stored: the lower-case "in entrata" is its own line (the month chart counts it as incoming).
    expectRows(s.tipo, {{"In entrata", 2, 4, 1}, {"In uscita", 2, 72, 0}, {"Fax", 1, 0, 1}, {"in entrata", 1, 30, 0}},
               "tipo");
    expectRows(s.esito, {{"Risolto", 3, 34, 1}, {"", 1, 0, 1}, {"Da richiamare", 1, 70, 0}, {"Inviata", 1, 2, 0}},
               "esito");
    // Grades without regard to case and blanks around them, shown as first met.
    expectRows(s.grado, {{"Soddisfatto", 3, 74, 1}, {"Molto soddisfatto", 2, 30, 1}, {"", 1, 2, 0}}, "grado");
    expectRows(s.operatore, {{"Anna", 3, 34, 1}, {"Bruno", 2, 72, 0}, {"Carla", 1, 0, 1}}, "operatore");
    expectRows(s.oggetto, {{"Preventivo", 3, 74, 1}, {"Guasto", 2, 30, 1}, {"Fattura", 1, 2, 0}}, "oggetto");
    expectRows(s.giorno,
               {{"lunedì", 1, 4, 0},
                {"martedì", 2, 100, 0},
                {"mercoledì", 1, 0, 1},
                {"giovedì", 1, 0, 1},
                {"venerdì", 0, 0, 0},
                {"sabato", 1, 2, 0},
                {"domenica", 0, 0, 0}},
               "giorno");
    // The April call has no hour: it is left out of the hours only.
    ASSERT_EQ(s.ora.size(), 24);
    std::int64_t hourCalls = 0;
    for (const StatsRow& r : s.ora)
        hourCalls += r.figure.calls;
    EXPECT_EQ(hourCalls, 5);
    expectRows(s.ora.mid(9, 1), {{"09", 2, 74, 0}}, "ora");
    expectRows(s.ora.mid(11, 1), {{"11", 1, 0, 1}}, "ora");
    expectRows(s.ora.mid(14, 1), {{"14", 1, 30, 0}}, "ora");
    expectRows(s.ora.mid(18, 1), {{"18", 1, 2, 0}}, "ora");
    EXPECT_EQ(s.weekHour[0][9], 1);
    EXPECT_EQ(s.weekHour[1][9], 1);
    EXPECT_EQ(s.weekHour[1][14], 1);
    EXPECT_EQ(s.weekHour[3][11], 1);
    EXPECT_EQ(s.weekHour[5][18], 1);
    EXPECT_EQ(s.weekHour[2][10], 0);
}

TEST_F(CallStatistics, IntervalEnds) {
    struct Case {
        StatsInterval interval;
        std::int64_t calls;   // the undated call always counts
        qsizetype months;     // every month of the interval, an open end at the first or last call's
        const char* first;    // the first and last month shown
        const char* last;
    };
    const Case cases[] = {
        {{}, 8, 18, "2023-01", "2024-06"},
        {{QDate(2024, 3, 5), QDate(2024, 3, 5)}, 3, 1, "2024-03", "2024-03"}, // both ends included
        {{QDate(2024, 6, 16), std::nullopt}, 1, 0, "", ""},                   // nothing dated after June 15th
        {{std::nullopt, QDate(2023, 12, 31)}, 2, 12, "2023-01", "2023-12"},
        {{QDate(2024, 1, 1), QDate(2024, 12, 31)}, 7, 12, "2024-01", "2024-12"}, // this year, calls Mar..Jun
        {{QDate(2024, 2, 10), std::nullopt}, 7, 5, "2024-02", "2024-06"},
        {{QDate(2022, 11, 1), QDate(2023, 2, 28)}, 2, 4, "2022-11", "2023-02"},
        {{QDate(2025, 1, 1), QDate(2025, 3, 31)}, 1, 3, "2025-01", "2025-03"},   // no calls: three empty months
        {{QDate(1000, 1, 1), QDate(9999, 12, 31)}, 8, 18, "2023-01", "2024-06"}, // centuries: the calls' months
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(intervalTitle(c.interval).toStdString());
        const CallStats s = computeCallStats(path(kChiamateFile), c.interval);
        EXPECT_EQ(s.total.calls, c.calls);
        ASSERT_EQ(s.months.size(), c.months);
        if (s.months.isEmpty())
            continue;
        EXPECT_EQ(s.months.first().voce, QLatin1String(c.first));
        EXPECT_EQ(s.months.last().voce, QLatin1String(c.last));
        std::int64_t inMonths = 0;
        for (const StatsMonth& m : s.months)
            inMonths += m.figure.calls;
        EXPECT_EQ(inMonths, s.total.calls - s.undated.size()); // every dated call in its month
    }
    // This year: the empty months are there with nothing in them.
    const CallStats year = computeCallStats(path(kChiamateFile), {QDate(2024, 1, 1), QDate(2024, 12, 31)});
    ASSERT_EQ(year.months.size(), 12);
    EXPECT_EQ(year.months[0].figure.calls, 0);
    EXPECT_EQ(year.months[2].figure.calls, 4);
    EXPECT_EQ(year.months[11].figure.calls, 0);
    EXPECT_EQ(year.months[11].voce, QStringLiteral("2024-12"));
}

TEST_F(CallStatistics, CsvLinesAreTheFiguresSectionBySection) {
    const QStringList lines = statsCsvLines(spring());
    ASSERT_EQ(lines.size(), 1 + 1 + 4 + 4 + 4 + 3 + 3 + 3 + 7 + 24);
    EXPECT_EQ(lines[0], QStringLiteral("sezione;voce;chiamate;minuti;durate_non_lette"));
    EXPECT_EQ(lines[1], QStringLiteral("totale;;7;116;2"));
    EXPECT_EQ(lines[2], QStringLiteral("mese;2024-03;4;104;1"));
    EXPECT_EQ(lines[4], QStringLiteral("mese;2024-05;0;0;0"));
    EXPECT_TRUE(lines.contains(QStringLiteral("grado;Soddisfatto;3;74;1")));
    EXPECT_TRUE(lines.contains(QStringLiteral("esito;;1;0;1")));
    EXPECT_TRUE(lines.contains(QStringLiteral("giorno;lunedì;1;4;0")));
    EXPECT_EQ(lines.last(), QStringLiteral("ora;23;0;0;0"));
}

TEST_F(CallStatistics, MissingRegisterIsEmptyAndAFolderInItsPlaceIsAnError) {
    const CallStats none = computeCallStats(path(QStringLiteral("nessuno.pro")), {});
    EXPECT_TRUE(none.ok);
    EXPECT_EQ(none.total.calls, 0);
    EXPECT_TRUE(none.months.isEmpty());
    EXPECT_EQ(none.giorno.size(), 7);
    // A closed interval still has its months, all empty.
    const CallStats noneThisYear =
        computeCallStats(path(QStringLiteral("nessuno.pro")), {QDate(2024, 1, 1), QDate(2024, 12, 31)});
    EXPECT_EQ(noneThisYear.months.size(), 12);

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("cartella.pro")));
    const CallStats folder = computeCallStats(path(QStringLiteral("cartella.pro")), {});
    EXPECT_FALSE(folder.ok);
    EXPECT_FALSE(folder.error.isEmpty());
}

TEST_F(CallStatistics, ProgressCanStopTheScan) {
    std::vector<Call> many(10000, kCalls[0]);
    write(kChiamateFile, registerBytes(many));
    std::int64_t seen = 0;
    const CallStats s = computeCallStats(path(kChiamateFile), {}, [&seen](std::int64_t done, std::int64_t count) {
        EXPECT_EQ(count, 10000);
        seen = done;
        return false;
    });
    EXPECT_TRUE(s.cancelled);
    EXPECT_GT(seen, 0);
    EXPECT_LT(s.total.calls, 10000);
}

TEST(CallStatisticsRows, TopRowsPutTheRestInAltro) {
    QList<StatsRow> rows;
    for (int i = 0; i < 13; ++i)
        rows.append({QString::number(i), {13 - i, 60 * (13 - i), i % 2}});
    const QList<StatsRow> top = topRows(rows, 10);
    ASSERT_EQ(top.size(), 11);
    EXPECT_EQ(top[9].voce, QStringLiteral("9"));
    EXPECT_EQ(top[10].voce, QStringLiteral("Altro"));
    EXPECT_EQ(top[10].figure.calls, 3 + 2 + 1);
    EXPECT_EQ(top[10].figure.seconds, 60 * 6);
    EXPECT_EQ(top[10].figure.unread, 0 + 1 + 0); // rows 10, 11, 12
    EXPECT_EQ(topRows(rows.mid(0, 10), 10).size(), 10); // ten or fewer: no "Altro"
}

TEST(CallStatisticsRows, AveragesSayWhenNoDurationWasRead) {
    struct Case {
        StatsFigure figure;
        const char* text;
    };
    const Case cases[] = {
        {{3, 0, 3}, "—"},
        {{0, 0, 0}, "—"},
        {{2, 90, 0}, "45 s"},
        {{2, 540, 1}, "9 min 00 s"},
        {{1, 4170, 0}, "1 h 10 min"},
        {{1, 7170, 0}, "2 h 00 min"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatAverage(c.figure), QString::fromUtf8(c.text)) << c.text;
}

TEST(StatisticsInterval, DateBoxChecksShareTheHoursIntervalRule) {
    IntervalInput in{QString(), QStringLiteral("01"), QStringLiteral("Marzo"), QStringLiteral("2024"),
                     QStringLiteral("31"), QStringLiteral("febbraio"), QStringLiteral("2024")};
    IntervalCheck c = checkDateInterval(in, QStringLiteral("le statistiche"));
    ASSERT_TRUE(c.refusal); // 31/02 does not exist; no codice fiscale is asked for
    EXPECT_EQ(c.refusal->focus, QStringLiteral("txtGiornoFine"));
    EXPECT_TRUE(c.refusal->message.contains(QStringLiteral("Per poter visualizzare le statistiche")));
    in.dayTo = QStringLiteral("29");
    c = checkDateInterval(in, QStringLiteral("le statistiche"));
    ASSERT_TRUE(c.refusal); // end before start
    EXPECT_TRUE(c.refusal->message.contains(QStringLiteral("anteriore")));
    in.monthTo = QStringLiteral("Aprile");
    c = checkDateInterval(in, QStringLiteral("le statistiche"));
    EXPECT_FALSE(c.refusal);
    EXPECT_EQ(c.fromText, QStringLiteral("01/03/2024"));
    EXPECT_EQ(c.toText, QStringLiteral("29/04/2024"));
}

TEST(StatisticsInterval, EmptyBoxesAreTheWholeRegisterAndHalfFilledOnesAreRefused) {
    // All six empty: the whole register, no refusal.
    StatsIntervalCheck all = checkStatsInterval({});
    EXPECT_FALSE(all.check.refusal);
    EXPECT_FALSE(all.interval.from);
    EXPECT_FALSE(all.interval.to);
    all = checkStatsInterval({QString(), QStringLiteral(" "), QString(), QStringLiteral("  "), QString(), QString(),
                              QString()});
    EXPECT_FALSE(all.check.refusal);

    // Only the start year (as the quick choices never leave it): the first missing box is named.
    const StatsIntervalCheck half =
        checkStatsInterval({QString(), QString(), QString(), QStringLiteral("2024"), QString(), QString(), QString()});
    ASSERT_TRUE(half.check.refusal);
    EXPECT_EQ(half.check.refusal->focus, QStringLiteral("txtGiornoInizio"));
    EXPECT_FALSE(half.interval.from);

    const StatsIntervalCheck whole =
        checkStatsInterval({QString(), QStringLiteral("05"), QStringLiteral("marzo"), QStringLiteral("2024"),
                            QStringLiteral("04"), QStringLiteral("Aprile"), QStringLiteral("2025")});
    ASSERT_FALSE(whole.check.refusal);
    EXPECT_EQ(whole.interval.from, QDate(2024, 3, 5));
    EXPECT_EQ(whole.interval.to, QDate(2025, 4, 4));
}

TEST(StatisticsInterval, QuickChoicesAreWholePeriods) {
    struct Case {
        QuickInterval choice;
        QDate today;
        std::optional<QDate> from, to;
    };
    const Case cases[] = {
        {QuickInterval::ThisMonth, QDate(2024, 2, 10), QDate(2024, 2, 1), QDate(2024, 2, 29)},
        {QuickInterval::ThisMonth, QDate(2023, 12, 31), QDate(2023, 12, 1), QDate(2023, 12, 31)},
        {QuickInterval::LastMonth, QDate(2024, 3, 31), QDate(2024, 2, 1), QDate(2024, 2, 29)},
        {QuickInterval::LastMonth, QDate(2024, 1, 15), QDate(2023, 12, 1), QDate(2023, 12, 31)},
        {QuickInterval::ThisYear, QDate(2024, 7, 4), QDate(2024, 1, 1), QDate(2024, 12, 31)},
        {QuickInterval::LastTwelveMonths, QDate(2024, 7, 4), QDate(2023, 8, 1), QDate(2024, 7, 31)},
        {QuickInterval::LastTwelveMonths, QDate(2024, 12, 1), QDate(2024, 1, 1), QDate(2024, 12, 31)},
        {QuickInterval::Everything, QDate(2024, 7, 4), std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.today.toString(Qt::ISODate).toStdString() + " " + std::to_string(static_cast<int>(c.choice)));
        const StatsInterval i = quickInterval(c.choice, c.today);
        EXPECT_EQ(i.from, c.from);
        EXPECT_EQ(i.to, c.to);
    }
}
