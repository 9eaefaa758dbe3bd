// The record layouts against fixtures written byte by byte here, never by the code under test.
#include "core/records/records.h"
#include "core/storage/textfield.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace ombrisa;

namespace {

// Builds a record of `size` bytes filled with 0xCC (so stray reads show) and puts `text` (Latin-1 bytes
// that are also Windows-1252) as a field at `offset`.
struct Fixture {
    std::vector<std::uint8_t> bytes;
    explicit Fixture(std::size_t size) : bytes(size, 0xCC) {}
    void put(std::size_t offset, const char* text) {
        const std::size_t n = std::strlen(text);
        bytes[offset] = static_cast<std::uint8_t>(n);
        std::memcpy(bytes.data() + offset + 1, text, n);
    }
};

struct Layout {
    const ArchiveInfo* archive;
    std::vector<std::pair<const char*, std::size_t>> offsets; // documented name and offset, in order
};
// The test list and a failure name the archive.
void PrintTo(const Layout& l, std::ostream* os) {
    *os << l.archive->key;
}

class RecordLayout : public ::testing::TestWithParam<Layout> {};

TEST_P(RecordLayout, FieldsSitAtTheirDocumentedOffsets) {
    const Layout& l = GetParam();
    ASSERT_EQ(l.archive->fields.size(), l.offsets.size());
    Fixture f(l.archive->recordSize);
    for (std::size_t i = 0; i < l.offsets.size(); ++i) {
        EXPECT_STREQ(l.archive->fields[i].name, l.offsets[i].first);
        EXPECT_EQ(l.archive->fields[i].offset, l.offsets[i].second) << l.offsets[i].first;
        // Each field gets its own number as text, written by hand at the documented offset.
        f.put(l.offsets[i].second, std::to_string(i + 1).c_str());
    }
    for (std::size_t i = 0; i < l.offsets.size(); ++i)
        EXPECT_EQ(GetText(f.bytes.data(), l.archive->fields[i]), QString::number(i + 1)) << l.offsets[i].first;
}

INSTANTIATE_TEST_SUITE_P(
    Archives, RecordLayout,
    ::testing::Values(
        Layout{&kClienteArchive, {{"Cliente", 0},     {"DataNasc", 51},     {"ComuneNasc", 82},    {"ProvNasc", 133},
                                  {"Sesso", 136},     {"Recapito", 138},    {"IndirizzoRes", 189}, {"ProvRes", 240},
                                  {"ComuneRes", 243}, {"CapRes", 294},      {"Estremi", 300},      {"TelCasa", 551},
                                  {"TelUff", 582},    {"TelCel", 613},      {"Fax", 644},          {"Email", 675},
                                  {"CodFisc", 726},   {"Carta", 743},       {"ScadeCarta", 774},   {"PartitaIva", 805},
                                  {"Iban", 817},      {"Documento", 845},   {"Occupazione", 966},  {"Civile", 1017},
                                  {"Titoli", 1068},   {"Prodotti", 1189},   {"Zona", 1310},        {"Questioni", 1361},
                                  {"Note", 1612},     {"Ricontatta", 1863}, {"File01", 1866},      {"File02", 2117},
                                  {"File03", 2368},   {"Desc01", 2619},     {"Desc02", 2870},      {"Desc03", 3121}}},
        Layout{&kChiamataArchive,
               {{"GiornoRit", 0},  {"MeseRit", 3},  {"AnnoRit", 14},  {"DataRit", 19},  {"OreRit", 30},
                {"MinutiRit", 33}, {"OraRit", 36},  {"Tipo", 42},     {"Oggetto", 63},  {"Esito", 314},
                {"Grado", 565},    {"Durata", 616}, {"Cliente", 667}, {"CodFisc", 718}, {"Zona", 735},
                {"Recapito", 786}, {"TelCel", 837}, {"Email", 868},   {"Note", 919},    {"Operatore", 1170}}},
        Layout{&kDipendenteArchive, {{"Dipendente", 0},  {"Sesso", 51},      {"DataNasc", 53},  {"Cittadinanza", 64},
                                     {"LuogoNasc", 115}, {"Indirizzo", 166}, {"Citta", 287},    {"Cap", 338},
                                     {"Nazione", 349},   {"CodFisc", 400},   {"Civile", 417},   {"PartitaIva", 468},
                                     {"Studio", 480},    {"Lingue", 601},    {"Email", 722},    {"Tel", 773},
                                     {"Cel", 804},       {"Qualifica", 835}, {"Reparto", 886},  {"Disponibilita", 937},
                                     {"Mansioni", 1058}, {"Iban", 1309},     {"DataAss", 1337}, {"Retribuzione", 1348},
                                     {"Note", 1599},     {"File01", 1850},   {"File02", 2101},  {"File03", 2352},
                                     {"Desc01", 2603},   {"Desc02", 2854},   {"Desc03", 3105}}},
        Layout{&kLavoroArchive, {{"Data", 0}, {"Attivita", 11}, {"Luogo", 62}, {"Orario", 91}, {"TotOre", 120}}}),
    [](const auto& p) { return std::string(p.param.archive->key); });

TEST(RecordLayout, NamedMembersWriteTheBytesOfTheTable) {
    // A call on 5 March 2024 at 9:07, written through the named members, against hand-made bytes.
    TRecChiamata rec;
    std::memset(&rec, 0, sizeof rec);
    PutText(rec.GiornoRit, u"05");
    PutText(rec.MeseRit, u"Marzo");
    PutText(rec.DataRit, u"05/03/2024");
    PutText(rec.Operatore, u"  Sì  ");
    Fixture f(1291);
    std::fill(f.bytes.begin(), f.bytes.end(), 0);
    f.put(0, "05");
    f.put(3, "Marzo");
    f.put(19, "05/03/2024");
    f.put(1170, "S\xEC");
    EXPECT_EQ(std::memcmp(&rec, f.bytes.data(), sizeof rec), 0);
    EXPECT_EQ(fieldIndex(kChiamataFields, u"operatore"), 19);
    EXPECT_EQ(fieldIndex(kChiamataFields, u"nessuno"), -1);
}

} // namespace
