// The search rules: matching, the three line layouts, the sorted order, the count lines, and a listing
// read from an archive file.
#include "core/records/archivepaths.h"
#include "core/records/records.h"
#include "core/search/searchrules.h"
#include "core/storage/codepage.h"
#include "testfolder.h"
#include "testsupport/qtprint.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <map>


using namespace ombrisa;

namespace {

template <class Record> Record recordOf(FieldTable fields, const std::map<QString, QString>& values) {
    Record r{};
    for (const auto& [name, text] : values)
        PutText(&r, fields[static_cast<std::size_t>(fieldIndex(fields, name))], text);
    return r;
}

// Box texts of a search screen by box name, in the screen's order.
QStringList boxes(const SearchRules& rules, const std::map<QString, QString>& byName) {
    QStringList texts;
    for (const SearchFilter& f : rules.filters)
        texts << (byName.count(QLatin1String(f.box)) ? byName.at(QLatin1String(f.box)) : QString());
    return texts;
}

struct MatchCase {
    const char* name;
    std::map<QString, QString> boxes;
    std::map<QString, QString> fields;
    bool listed;
};

TEST(SearchMatch, ClientCases) {
    const SearchRules& rules = searchRules(SearchArchive::Clienti);
    const MatchCase cases[] = {
        {"all boxes empty lists everything", {}, {{"Cliente", "Rossi Mario"}}, true},
        {"all boxes empty lists an empty card", {}, {}, true},
        {"boxes of blanks ask nothing", {{"txtCliente", "   "}}, {{"Cliente", "Verdi"}}, true},
        {"case does not matter", {{"txtCliente", "ROSS"}}, {{"Cliente", "rossi mario"}}, true},
        {"prefix", {{"txtCliente", "ross"}}, {{"Cliente", "Rossi Mario"}}, true},
        {"substring", {{"txtCliente", "ross"}}, {{"Cliente", "Grossi Anna"}}, true},
        {"not there", {{"txtCliente", "ross"}}, {{"Cliente", "Bianchi"}}, false},
        {"leading blank is part of the text", {{"txtCliente", " rossi"}}, {{"Cliente", "Rossi Mario"}}, false},
        {"leading blank found after a word", {{"txtCliente", " rossi"}}, {{"Cliente", "De Rossi"}}, true},
        {"trailing blank is part of the text", {{"txtCliente", "rossi "}}, {{"Cliente", "Rossi"}}, false},
        {"two boxes both found",
         {{"txtCliente", "rossi"}, {"txtZona", "nord"}},
         {{"Cliente", "Rossi"}, {"Zona", "Nord-Est"}},
         true},
        {"two boxes, one missing",
         {{"txtCliente", "rossi"}, {"txtZona", "sud"}},
         {{"Cliente", "Rossi"}, {"Zona", "Nord-Est"}},
         false},
        {"a blank box never makes up for a missing one",
         {{"txtCliente", "rossi"}, {"txtZona", " "}},
         {{"Cliente", "Bianchi Anna"}, {"Zona", "Nord Est"}},
         false},
        {"each box looks only at its own field", {{"txtCliente", "nord"}}, {{"Zona", "Nord"}}, false},
        {"accented letters fold too", {{"txtCliente", "NICOLÒ"}}, {{"Cliente", "Forlì Nicolò"}}, true},
        {"a character the code page lacks matches nothing", {{"txtCliente", "ł"}}, {{"Cliente", "Łukasz"}}, false},
        {"longer than the field matches nothing",
         {{"txtPartitaIva", "123456789012"}},
         {{"PartitaIva", "12345678901"}},
         false},
        {"euro sign", {{"txtNote", "€"}}, {{"Note", "Pagato 10 €"}}, true},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rec = recordOf<TRecCliente>(kClienteFields, c.fields);
        EXPECT_EQ(RecordMatcher(rules, boxes(rules, c.boxes)).matches(&rec), c.listed);
    }
}

TEST(SearchMatch, CallDatesAndMonths) {
    const SearchRules& rules = searchRules(SearchArchive::Chiamate);
    const MatchCase cases[] = {
        {"a month of a year by its date", {{"txtDataRit", "/03/2024"}}, {{"DataRit", "05/03/2024"}}, true},
        {"another month", {{"txtDataRit", "/03/2024"}}, {{"DataRit", "05/04/2024"}}, false},
        {"another year", {{"txtDataRit", "/03/2024"}}, {{"DataRit", "05/03/2023"}}, false},
        {"month word in lower case", {{"txtMeseRit", "marzo"}}, {{"MeseRit", "Marzo"}}, true},
        {"another month word", {{"txtMeseRit", "marzo"}}, {{"MeseRit", "Maggio"}}, false},
        {"two filters",
         {{"txtOggetto", "preventivo"}, {"txtOperatore", "bianchi"}},
         {{"Oggetto", "Richiesta PREVENTIVO auto"}, {"Operatore", "Anna Bianchi"}},
         true},
        {"two filters, operator differs",
         {{"txtOggetto", "preventivo"}, {"txtOperatore", "bianchi"}},
         {{"Oggetto", "Richiesta preventivo"}, {"Operatore", "Luca Neri"}},
         false},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rec = recordOf<TRecChiamata>(kChiamataFields, c.fields);
        EXPECT_EQ(RecordMatcher(rules, boxes(rules, c.boxes)).matches(&rec), c.listed);
    }
}

// The byte comparison must give what comparing the texts as read gives, for every character the
// code page holds, odd bytes and length bytes included.
TEST(SearchMatch, BytesAgreeWithTexts) {
    QRandomGenerator rng(14);
    const QString alphabet = QStringLiteral("aAbBèÈìÌòÒùÙàÀéÉçÇšŠžŽœŒÿŸßµ€ \t-/.0179ſKłŁ\u0081");
    const FieldDef& field = kChiamataFields[static_cast<std::size_t>(fieldIndex(kChiamataFields, u"Tipo"))];
    const LinePiece pieces[] = {{"T: ", "Tipo", 8}, {" | ", "Tipo", 0}};
    const LineBuilder tipoLine(kChiamataFields, pieces);
    int listed = 0;
    for (int round = 0; round < 20000; ++round) {
        TRecChiamata rec{};
        auto* bytes = reinterpret_cast<std::uint8_t*>(&rec) + field.offset;
        const int length = rng.bounded(0, 24); // above the capacity of 20 too
        bytes[0] = static_cast<std::uint8_t>(length);
        for (int i = 1; i <= 20; ++i) {
            const QString c = alphabet.mid(rng.bounded(alphabet.size()), 1);
            const QByteArray b = toCp1252(c);
            bytes[i] = b.isEmpty() ? 'x' : static_cast<std::uint8_t>(b[0]);
        }
        QString box;
        const int boxLength = rng.bounded(1, 4);
        for (int i = 0; i < boxLength; ++i)
            box += alphabet.at(rng.bounded(alphabet.size()));
        const QString stored = GetText(&rec, field);
        const bool expected = trimView(box).isEmpty() || stored.toLower().contains(box.toLower());
        const QStringList texts{QString(), QString(), box};
        SCOPED_TRACE(box.toStdString() + " in " + stored.toStdString());
        ASSERT_EQ(RecordMatcher(searchRules(SearchArchive::Chiamate), texts).matches(&rec), expected);
        // Lines are written from the same bytes: they must read as GetText reads the field.
        ASSERT_EQ(tipoLine.build(&rec), "T: " + stored.leftJustified(8, ' ', true) + " | " + stored);
        listed += expected;
    }
    EXPECT_GT(listed, 100); // the table is not one-sided
}

TEST(SearchMatch, LowerTableCoversTheCodePage) {
    const auto& table = cp1252LowerTable();
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const char lower = static_cast<char>(table[static_cast<std::size_t>(b)]);
        EXPECT_EQ(fromCp1252(&lower, 1), fromCp1252(&byte, 1).toLower()) << b;
    }
}

TEST(SearchLines, ThreeLayoutsWithWidths) {
    const QString longName = QStringLiteral("Abbondanzieri Bartolomeo Massimiliano"); // 37 characters
    const auto client = recordOf<TRecCliente>(kClienteFields, {{"Cliente", longName},
                                                               {"Recapito", "051 1234567"},
                                                               {"Occupazione", "Impiegato"},
                                                               {"Prodotti", "Polizza casa e auto con rinnovo annuale"},
                                                               {"Note", "  richiamare dopo le 18  "},
                                                               {"Questioni", "Sinistro aperto"}});
    const auto call = recordOf<TRecChiamata>(kChiamataFields, {{"DataRit", "05/03/2024"},
                                                               {"OraRit", "9.05"},
                                                               {"Oggetto", "Preventivo"},
                                                               {"Cliente", "Rossi Mario"},
                                                               {"CodFisc", "RSSMRA80A01H501U"},
                                                               {"Recapito", "333 1234567"}});
    const auto agent = recordOf<TRecDipendente>(kDipendenteFields, {{"Dipendente", "Neri Paolo"},
                                                                    {"Cel", "347 765432101234"},
                                                                    {"Qualifica", "Agente"},
                                                                    {"Disponibilita", "Sabato mattina"}});
    const auto blank = recordOf<TRecCliente>(kClienteFields, {});
    struct Case {
        const char* name;
        QString line;
        QString expected;
    };
    const Case cases[] = {
        {"client", LineBuilder(kClienteFields, searchRules(SearchArchive::Clienti).line).build(&client),
         "Abbondanzieri Bartolomeo M  Tel. 051 1234567      Impiegato                  "
         "Prod. Polizza casa e auto con rinnov  richiamare dopo le 18"},
        {"recontact", LineBuilder(kClienteFields, recontactLine()).build(&client),
         "Abbondanzieri Bartolomeo M  Tel. 051 1234567      Impiegato                  "
         "Prod. Polizza casa e auto con rinnov  Sinistro aperto"},
        {"blank client", LineBuilder(kClienteFields, recontactLine()).build(&blank),
         QString(26, ' ') + "  Tel. " + QString(15, ' ') + "  " + QString(25, ' ') + "  Prod. " + QString(30, ' ') +
             "  "},
        {"call", LineBuilder(kChiamataFields, searchRules(SearchArchive::Chiamate).line).build(&call),
         "Data: 05/03/2024  Ora: 9.05   Oggetto: Preventivo                      Cliente: Rossi Mario"
         "                     CF: RSSMRA80A01H501U  Tel. 333 1234567"},
        {"agent", LineBuilder(kDipendenteFields, searchRules(SearchArchive::Dipendenti).line).build(&agent),
         "Neri Paolo                  Cel. 347 7654321012  Qual. Agente                    Rep. "
         "                          Disp. Sabato mattina"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.line.toStdString(), c.expected.toStdString());
    }
}

TEST(SearchLines, SortIgnoresCaseOfLettersOnly) {
    std::vector<CardLine> lines{{"rossi", 1},  {"Bianchi", 2}, {"ROSSI", 3},   {"bianchi", 4},
                                {"Rossi_", 5}, {"Rossi[", 6},  {"Àlberti", 7}, {"albertI", 8}};
    sortLines(lines);
    QStringList texts;
    QList<qint64> cards;
    for (const CardLine& l : lines) {
        texts << l.text;
        cards << l.card;
    }
    // Equal lines keep their file order; '[' and '_' come after the letters, as upper case letters do;
    // a letter with an accent comes after every plain one.
    EXPECT_EQ(texts, (QStringList{"albertI", "Bianchi", "bianchi", "rossi", "ROSSI", "Rossi[", "Rossi_", "Àlberti"}));
    EXPECT_EQ(cards, (QList<qint64>{8, 2, 4, 1, 3, 6, 5, 7}));
    EXPECT_LT(compareLineText("abc", "ABCD"), 0);
    EXPECT_EQ(compareLineText("Mario", "mARIO"), 0);
}

TEST(SearchLines, CountLines) {
    EXPECT_EQ(countLine(0, true), "Il presente riepilogo contiene 0 schede.");
    EXPECT_EQ(countLine(12345, true), "Il presente riepilogo contiene 12345 schede.");
    EXPECT_EQ(countLine(3, searchRules(SearchArchive::Dipendenti).countFullStop),
              "Il presente riepilogo contiene 3 schede");
    EXPECT_TRUE(searchRules(SearchArchive::Clienti).countFullStop);
    EXPECT_TRUE(searchRules(SearchArchive::Chiamate).countFullStop);
}

class SearchListing : public TestFolder {
protected:
    template <class Record> void append(const QString& name, const Record& rec) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(reinterpret_cast<const char*>(&rec), sizeof rec);
    }
};

TEST_F(SearchListing, SortedClientsAndCallsInFileOrderCarryTheirCards) {
    for (const char* name : {"Verdi", "bianchi", "Rossi", "Bianchi"})
        append(kClientiFile, recordOf<TRecCliente>(kClienteFields, {{"Cliente", name}}));
    const CardListing clients = searchArchive(searchRules(SearchArchive::Clienti), path(kClientiFile), QStringList(10));
    ASSERT_TRUE(clients.ok);
    ASSERT_EQ(clients.lines.size(), 4u);
    const std::int64_t clientCards[] = {2, 4, 3, 1};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(clients.lines[i].card, clientCards[i]) << i;

    for (const char* date : {"09/03/2024", "01/02/2024", "02/03/2024"})
        append(kChiamateFile, recordOf<TRecChiamata>(kChiamataFields, {{"DataRit", date}}));
    const CardListing calls = searchArchive(searchRules(SearchArchive::Chiamate), path(kChiamateFile),
                                            boxes(searchRules(SearchArchive::Chiamate), {{"txtDataRit", "/03/"}}));
    ASSERT_TRUE(calls.ok);
    ASSERT_EQ(calls.lines.size(), 2u);
    EXPECT_EQ(calls.lines[0].card, 1);
    EXPECT_EQ(calls.lines[1].card, 3);
    EXPECT_TRUE(calls.lines[1].text.startsWith("Data: 02/03/2024"));
}

TEST_F(SearchListing, RecontactListTakesOnlySi) {
    for (const auto& [name, flag] : std::vector<std::pair<QString, QString>>{
             {"Zeta", "Sì"}, {"Alfa", "No"}, {"beta", "Sì"}, {"Gamma", ""}, {"Delta", "si"}})
        append(kClientiFile, recordOf<TRecCliente>(kClienteFields, {{"Cliente", name}, {"Ricontatta", flag}}));
    const CardListing list = recontactList(path(kClientiFile));
    ASSERT_TRUE(list.ok);
    ASSERT_EQ(list.lines.size(), 2u);
    EXPECT_TRUE(list.lines[0].text.startsWith("beta "));
    EXPECT_EQ(list.lines[0].card, 3);
    EXPECT_EQ(list.lines[1].card, 1);
}

TEST_F(SearchListing, AnArchiveThatCannotBeOpenedIsAFailure) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(kClientiFile));
    const CardListing list = recontactList(path(kClientiFile));
    EXPECT_FALSE(list.ok);
    EXPECT_FALSE(list.error.isEmpty());
    EXPECT_TRUE(list.lines.empty());
}

} // namespace
