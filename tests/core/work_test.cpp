// The work register and hours summary rules: record bytes against fixtures written here by hand, the
// list line, the save checks, the codice fiscale rule, the interval checks and the summary scan.
#include "core/records/archivepaths.h"
#include "core/work/hourssummary.h"
#include "core/work/workregister.h"
#include "testfolder.h"

#include <QDir>
#include <QDirIterator>

#include <cstring>

using namespace ombrisa;

namespace {

constexpr int kWorkSize = 149;

// A work record written byte by byte: fields at offsets 0, 11, 62, 91 and 120, zero bytes elsewhere.
QByteArray workBytes(const char* data, const char* attivita, const char* luogo, const char* orario,
                     const char* totOre) {
    QByteArray r(kWorkSize, '\0');
    const std::pair<int, const char*> fields[] = {{0, data}, {11, attivita}, {62, luogo}, {91, orario}, {120, totOre}};
    for (const auto& [offset, text] : fields) {
        const auto n = static_cast<int>(std::strlen(text));
        r[offset] = static_cast<char>(n);
        std::memcpy(r.data() + offset + 1, text, static_cast<std::size_t>(n));
    }
    return r;
}

class WorkRegister : public TestFolder {
protected:
    void SetUp() override {
        TestFolder::SetUp();
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Archivio_Lavori")));
    }
    QString file() const { return workRegisterPath(QStringLiteral("RSSMRA80A01H501U")); }
    static constexpr const char* kName = "Archivio_Lavori/Lavori_Dipendente_CF_RSSMRA80A01H501U.pro";
};

} // namespace

TEST_F(WorkRegister, SavedWorksMatchTheHandBuiltBytesAndReadBack) {
    const WorkEntry first{QStringLiteral(" 08/03/2024 "), QStringLiteral("Manutenzione caldaia"),
                          QStringLiteral("Perugia"), QStringLiteral("8:00 - 12:00"), QStringLiteral("4")};
    ASSERT_EQ(saveWork(file(), 0, first), 1);
    EXPECT_EQ(bytes(kName), workBytes("08/03/2024", "Manutenzione caldaia", "Perugia", "8:00 - 12:00", "4"));

    // Appending gives number 2; rewriting number 1 changes it in place, the second stays.
    const WorkEntry second{QStringLiteral("1/3/2024"), QStringLiteral("Città"), QStringLiteral("Foligno"),
                           QStringLiteral("9-13"), QStringLiteral("010")};
    ASSERT_EQ(saveWork(file(), 0, second), 2);
    ASSERT_EQ(saveWork(file(), 1, second), 1);
    const QByteArray secondBytes = workBytes("1/3/2024", "Citt\xE0", "Foligno", "9-13", "010");
    EXPECT_EQ(bytes(kName), secondBytes + secondBytes);

    WorkEntry read;
    ASSERT_TRUE(readWork(file(), 2, read));
    EXPECT_EQ(read.attivita, QStringLiteral("Città"));
    EXPECT_EQ(read.data, QStringLiteral("1/3/2024")); // stored as typed, not reformatted
    EXPECT_FALSE(readWork(file(), 3, read));
    EXPECT_FALSE(saveWork(file(), 4, second)); // no record 4 to change, and no gap is written
    EXPECT_EQ(bytes(kName).size(), 2 * kWorkSize);
}

TEST_F(WorkRegister, TheListSkipsEmptyDatesAndKeepsRecordNumbers) {
    write(kName, workBytes("08/03/2024", "A", "L", "O", "1") + workBytes("   ", "Senza data", "L", "O", "2") +
                     workBytes("09/03/2024", "A", "L", "O", "1") + workBytes("09/03/2024", "A", "L", "O", "1"));
    const WorkRegisterList list = loadWorkRegister(file());
    ASSERT_TRUE(list.ok);
    ASSERT_EQ(list.lines.size(), 3);
    EXPECT_EQ(list.lines[0].number, 1);
    EXPECT_EQ(list.lines[1].number, 3);
    EXPECT_EQ(list.lines[2].number, 4);
    EXPECT_EQ(list.lines[1].line, list.lines[2].line); // identical lines, still two records
}

TEST_F(WorkRegister, AMissingRegisterIsCreatedEmpty) {
    const WorkRegisterList list = loadWorkRegister(file());
    EXPECT_TRUE(list.ok);
    EXPECT_TRUE(list.lines.isEmpty());
    EXPECT_TRUE(QFile::exists(path(kName)));
    EXPECT_EQ(bytes(kName).size(), 0);
}

TEST(WorkListLine, PadsAndCutsEachColumn) {
    const QString a50(50, QLatin1Char('a'));
    const QString o28 = QStringLiteral("08:00-12:00 e 14:00-18:00xy"); // 27 characters
    const QString line = workListLine(
        {QStringLiteral("08/03/2024"), a50, QStringLiteral("Perugia"), o28 + QLatin1Char('z'), QStringLiteral(" 8 ")});
    const QString expected = QString(46, QLatin1Char('a')) + QStringLiteral("   Data: 08/03/2024  Luogo: ") +
                             QStringLiteral("Perugia").leftJustified(28) + QStringLiteral("  Orario: ") + o28.left(26) +
                             QStringLiteral("  Tot. ore: 8");
    EXPECT_EQ(line, expected);
    // Short texts are padded, so every line has its columns in the same place.
    const QString shortLine = workListLine({QStringLiteral("1/3/2024"), QStringLiteral("x"), QStringLiteral(""),
                                            QStringLiteral("9-13"), QStringLiteral("")});
    EXPECT_EQ(shortLine.indexOf(QStringLiteral("Data:")), line.indexOf(QStringLiteral("Data:")));
    EXPECT_EQ(shortLine.indexOf(QStringLiteral("Tot. ore:")), line.indexOf(QStringLiteral("Tot. ore:")));
    EXPECT_TRUE(shortLine.endsWith(QStringLiteral("Tot. ore: ")));
    // Every box full to its limit gives the longest line a work list has to show whole.
    const auto full = [](int n) { return QString(n, QLatin1Char('9')); };
    EXPECT_EQ(workListLine({full(kDataBoxLimit), full(kAttivitaBoxLimit), full(kLuogoBoxLimit), full(kOrarioBoxLimit),
                            full(kTotOreBoxLimit)})
                  .size(),
              kWorkListLineLength);
}

TEST(WorkRegisterCode, OnlyLettersAndDigitsNameAFile) {
    struct Case {
        const char* code;
        bool accepted;
    };
    for (const Case& c : {Case{"RSSMRA80A01H501U", true}, Case{" rssmra80a01h501u ", true}, Case{"12345678901", true},
                          Case{"", false}, Case{"   ", false}, Case{"../../Contatti", false}, Case{"A/B", false},
                          Case{"A\\B", false}, Case{"C:RSS", false}, Case{"RSS MRA", false}, Case{"..", false},
                          Case{"RSSMRÀ80", false}, Case{"A*B", false}}) {
        const QString code = QString::fromUtf8(c.code);
        EXPECT_EQ(isWorkRegisterCode(code), c.accepted) << c.code;
        EXPECT_EQ(workRegisterPath(code).isEmpty(), !c.accepted) << c.code;
    }
    EXPECT_TRUE(workRegisterPath(QStringLiteral(" RSS1 "))
                    .endsWith(QStringLiteral("/Archivio_Lavori/Lavori_Dipendente_CF_RSS1.pro")));
}

TEST_F(WorkRegister, ARefusedCodeWritesNothingAnywhere) {
    for (const char* code : {"../../Contatti", "A/B"}) {
        const QString p = workRegisterPath(QString::fromLatin1(code));
        EXPECT_FALSE(loadWorkRegister(p).ok) << code;
        EXPECT_FALSE(saveWork(p, 0,
                              {QStringLiteral("08/03/2024"), QStringLiteral("a"), QStringLiteral("b"),
                               QStringLiteral("c"), QStringLiteral("1")}))
            << code;
        EXPECT_FALSE(summariseHours(p, QDate(2024, 1, 1), QDate(2024, 12, 31), true).ok) << code;
    }
    QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    QStringList found;
    while (it.hasNext())
        found.append(QDir(dir.path()).relativeFilePath(it.next()));
    EXPECT_EQ(found, QStringList{QStringLiteral("Archivio_Lavori")});
}

TEST(WorkSaveChecks, RunInOrderWithTheirTextsAndFocus) {
    const auto full = [] {
        return WorkEntry{QStringLiteral("08/03/2024"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                         QStringLiteral("1")};
    };
    EXPECT_FALSE(workSaveRefusal(full()));
    struct Case {
        QString WorkEntry::*field;
        const char* value;
        const char* focus;
        bool plain;
        const char* message;
    };
    const Case cases[] = {
        {&WorkEntry::data, "  ", "txtData", false,
         "Attenzione: per salvare la scheda è necessario indicare la data in cui la prestazione è stata svolta."},
        {&WorkEntry::data, "31/02/2024", "txtData", true,
         "Attenzione: la data 31/02/2024 non è riconosciuta.\n\r\n\rPer poter salvare la scheda è necessario "
         "indicare una data valida nel formato gg/mm/aaaa."},
        {&WorkEntry::data, "08-03-2024 ", "txtData", true,
         "Attenzione: la data 08-03-2024 non è riconosciuta.\n\r\n\rPer poter salvare la scheda è necessario "
         "indicare una data valida nel formato gg/mm/aaaa."},
        {&WorkEntry::attivita, " ", "txtAttivita", false,
         "Attenzione: per salvare la scheda è necessario indicare la tipologia di prestazione svolta."},
        {&WorkEntry::luogo, "", "txtLuogo", false,
         "Attenzione: per salvare la scheda è necessario indicare il luogo in cui la prestazione è stata svolta."},
        {&WorkEntry::orario, "", "txtOrario", false,
         "Attenzione: per salvare la scheda è necessario indicare l'orario in cui la prestazione è stata svolta."},
        {&WorkEntry::totOre, "", "txtTotOre", false,
         "Attenzione: per salvare la scheda è necessario indicare la durata totale in ore della prestazione svolta."},
    };
    for (const Case& c : cases) {
        WorkEntry typed = full();
        typed.*c.field = QString::fromUtf8(c.value);
        const auto refusal = workSaveRefusal(typed);
        ASSERT_TRUE(refusal) << c.value;
        EXPECT_EQ(refusal->message, QString::fromUtf8(c.message));
        EXPECT_EQ(refusal->focus, QLatin1String(c.focus));
        EXPECT_EQ(refusal->plain, c.plain);
    }
    // The date check accepts a date as the user types it.
    for (const char* date : {"1/3/2024", "29/02/2024", "08/03/24"}) {
        WorkEntry typed = full();
        typed.data = QLatin1String(date);
        EXPECT_FALSE(workSaveRefusal(typed)) << date;
    }
    // An earlier failure wins: an empty date and an empty activity report the date.
    WorkEntry both = full();
    both.data.clear();
    both.attivita.clear();
    EXPECT_EQ(workSaveRefusal(both)->focus, QStringLiteral("txtData"));
}

TEST(HoursFormat, ParsesCommaDecimalsExactlyAndWritesTheShortestForm) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> micro;
    };
    for (const Case& c :
         {Case{"8", 8'000'000}, Case{" 7,5 ", 7'500'000}, Case{"010", 10'000'000}, Case{"0,25", 250'000},
          Case{"7,3", 7'300'000}, Case{"-1,5", -1'500'000}, Case{"0,0000005", 1}, Case{"0,00000049", 0},
          Case{"999999999", 999'999'999'000'000}, Case{"0000000001", 1'000'000}, Case{"1000000000", std::nullopt},
          Case{"7.5", std::nullopt}, Case{"7:30", std::nullopt}, Case{"", std::nullopt}, Case{"1,2,3", std::nullopt},
          Case{"8 ore", std::nullopt}, Case{",", std::nullopt}}) {
        const std::optional<HoursAmount> parsed = parseHours(QString::fromLatin1(c.text));
        ASSERT_EQ(parsed.has_value(), c.micro.has_value()) << c.text;
        if (parsed) {
            EXPECT_EQ(parsed->micro, *c.micro) << c.text;
        }
    }
    struct Total {
        std::int64_t micro;
        const char* text;
    };
    for (const Total& t : {Total{15'500'000, "15,5"}, Total{5'000'000, "5"}, Total{0, "0"}, Total{250'000, "0,25"},
                           Total{300'000, "0,3"}, Total{123'456'000'000, "123456"}, Total{333'333, "0,333333"},
                           Total{-1'500'000, "-1,5"}, Total{-1, "-0,000001"},
                           // 15 significant digits at most: a long whole part rounds the decimals away.
                           Total{123'456'789'012'345'678, "123456789012,346"},
                           Total{999'999'999'999'999'999, "1000000000000"}})
        EXPECT_EQ(formatHours(HoursAmount{t.micro}), QLatin1String(t.text)) << t.text;
}

TEST(HoursTotals, CaptionsAndAlignedTotalLines) {
    EXPECT_EQ(intervalCaption(QStringLiteral(" 01/01/2024"), QStringLiteral("31/12/2024 ")),
              QStringLiteral("Dal   01/01/2024   al   31/12/2024"));
    EXPECT_EQ(worksCaption(1), QStringLiteral("1 lavori svolti"));
    const QStringList lines = hoursTotalLines(QStringLiteral("I"), QStringLiteral("2"), QStringLiteral("15,5"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("- - - - - - - - - - - - - - - -"));
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(lines[i].size() - lines[i].section(QLatin1Char(' '), -1).size(), 27) << lines[i].toStdString();
    EXPECT_EQ(lines[3], QStringLiteral("TOTALE ORE DI LAVORO:      15,5"));
}

TEST_F(WorkRegister, SummaryListsTheIntervalBothEndsIncludedAcrossYears) {
    write(kName, workBytes("31/12/2022", "Prima", "L", "O", "1") + workBytes("01/01/2023", "Inizio", "L", "O", "8") +
                     workBytes("15/6/2023", "Mezzo", "L", "O", "7,5") + workBytes("", "Vuota", "L", "O", "x") +
                     workBytes("31/01/2024", "Fine", "L", "O", "2") + workBytes("01/02/2024", "Dopo", "L", "O", "4") +
                     workBytes("10/01/2023", "Ancora", "L", "O", "3"));
    const HoursSummary s = summariseHours(file(), QDate(2023, 1, 1), QDate(2024, 1, 31), false);
    ASSERT_TRUE(s.ok);
    ASSERT_EQ(s.lines.size(), 4);
    EXPECT_TRUE(s.lines[0].line.startsWith(QStringLiteral("Inizio ")));
    EXPECT_TRUE(s.lines[1].line.startsWith(QStringLiteral("Mezzo ")));
    EXPECT_TRUE(s.lines[2].line.startsWith(QStringLiteral("Fine ")));
    EXPECT_TRUE(s.lines[3].line.startsWith(QStringLiteral("Ancora "))); // file order, not date order
    EXPECT_EQ(formatHours(s.total), QStringLiteral("20,5"));
    EXPECT_TRUE(s.leftOut.isEmpty());
    // A single day: start and end on the same date.
    EXPECT_EQ(summariseHours(file(), QDate(2024, 1, 31), QDate(2024, 1, 31), false).lines.size(), 1);
}

TEST_F(WorkRegister, DecimalHoursAddUpExactlyOverTenYears) {
    // Ten years of a work a day at 7,3 hours: binary fractions would give 26644,9999999983.
    QByteArray all;
    const QDate first(2015, 1, 1);
    for (int day = 0; day < 3650; ++day)
        all += workBytes(first.addDays(day).toString(QStringLiteral("dd/MM/yyyy")).toLatin1().constData(), "Turno",
                         "L", "O", "7,3");
    write(kName, all);
    const HoursSummary s = summariseHours(file(), first, first.addDays(3649), false);
    ASSERT_EQ(s.lines.size(), 3650);
    EXPECT_EQ(formatHours(s.total), QStringLiteral("26645"));
}

TEST_F(WorkRegister, SummaryLeavesOutUnreadableRecordsAndTotalsTheRest) {
    write(kName,
          workBytes("01/03/2024", "Buona", "L", "O", "8") + workBytes("31/02/2024", "Data", "L", "O", "2") +
              workBytes("02/03/2024", "Punto", "L", "O", "7.5") + workBytes("03/03/2024", "Minuti", "L", "O", "7:30") +
              workBytes("01/05/2025", "Fuori", "L", "O", "7:30") + workBytes("04/03/2024", "Altra", "L", "O", "3"));
    const HoursSummary s = summariseHours(file(), QDate(2024, 1, 1), QDate(2024, 12, 31), false);
    ASSERT_EQ(s.lines.size(), 2);
    EXPECT_EQ(formatHours(s.total), QStringLiteral("11"));
    ASSERT_EQ(s.leftOut.size(), 3); // the bad hours outside the interval do not matter
    EXPECT_EQ(s.leftOut[0].number, 2);
    EXPECT_EQ(s.leftOut[0].data, QStringLiteral("31/02/2024"));
    EXPECT_EQ(s.leftOut[1].number, 3);
    EXPECT_EQ(s.leftOut[2].totOre, QStringLiteral("7:30"));
    const QString warning = leftOutWarning(s.leftOut);
    EXPECT_TRUE(warning.contains(QStringLiteral("scheda n. 3: data \"02/03/2024\", ore \"7.5\"")))
        << warning.toStdString();
    EXPECT_TRUE(warning.contains(QStringLiteral("il totale delle ore non le comprende")));
}

TEST_F(WorkRegister, SummaryOfAnAgentWithoutRegister) {
    const HoursSummary readOnly = summariseHours(file(), QDate(2024, 1, 1), QDate(2024, 12, 31), false);
    EXPECT_TRUE(readOnly.ok);
    EXPECT_FALSE(QFile::exists(path(kName)));
    const HoursSummary created = summariseHours(file(), QDate(2024, 1, 1), QDate(2024, 12, 31), true);
    EXPECT_TRUE(created.ok);
    EXPECT_TRUE(created.lines.isEmpty());
    EXPECT_TRUE(QFile::exists(path(kName)));
}

TEST(IntervalDates, MonthNamesAndDateTexts) {
    EXPECT_EQ(intervalDayItems().size(), 31);
    EXPECT_EQ(intervalDayItems().first(), QStringLiteral("01"));
    EXPECT_EQ(intervalMonthNumber(QStringLiteral(" MARZO ")), 3);
    EXPECT_EQ(intervalMonthNumber(QStringLiteral("dicembre")), 12);
    EXPECT_EQ(intervalMonthNumber(QStringLiteral("Marz")), 0);
    EXPECT_EQ(intervalDateText(QStringLiteral("05"), QStringLiteral("Marzo"), QStringLiteral("2024")),
              QStringLiteral("05/03/2024"));
    EXPECT_EQ(intervalDateText(QStringLiteral("05"), QStringLiteral("Mars"), QStringLiteral("2024")), QString());
}

// What a day or month box keeps when the user leaves it (anything else empties it).
TEST(IntervalDates, TheDayAndMonthBoxesKeepOnlyTheirListsValues) {
    struct Case {
        const char* field;
        const char* text;
        bool kept;
    };
    const Case cases[] = {
        {"Giorno", "01", true},    {"Giorno", "31", true},      {"Giorno", "1", false},
        {"Giorno", "00", false},   {"Giorno", "32", false},     {"Giorno", "", false},
        {"Giorno", "٠١", false},   {"Mese", "Marzo", true},     {"Mese", "MARZO", true},
        {"Mese", "marzo", true},   {"Mese", "Marz", false},     {"Mese", "", false},
        {"Mese", "03", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(intervalBoxAccepts(QString::fromLatin1(c.field), QString::fromUtf8(c.text)), c.kept)
            << c.field << " \"" << c.text << "\"";
    // The boxes take their length limits from the same table as their fields.
    for (const CardField& f : kIntervalFields)
        EXPECT_GE(fieldIndex(kIntervalBoxSizes, QString::fromLatin1(f.field)), 0) << f.control;
    EXPECT_EQ(kIntervalBoxSizes[static_cast<std::size_t>(fieldIndex(kIntervalBoxSizes, u"Mese"))].capacity,
              std::size_t{9}); // "Settembre"
}
