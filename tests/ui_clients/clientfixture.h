#pragma once

// Client cards written byte by byte from the documented layout of "Contatti.pro", never by the code
// under test: 36 text fields, each a length byte and its capacity in Windows-1252 bytes, 3372 bytes in all.

#include "uisupport/docrecord.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <map>

namespace ombrisa::test {

inline constexpr std::array<DocField, 36> kDocClientFields{{
    {"Cliente", 0, 50},     {"DataNasc", 51, 30},    {"ComuneNasc", 82, 50},    {"ProvNasc", 133, 2},
    {"Sesso", 136, 1},      {"Recapito", 138, 50},   {"IndirizzoRes", 189, 50}, {"ProvRes", 240, 2},
    {"ComuneRes", 243, 50}, {"CapRes", 294, 5},      {"Estremi", 300, 250},     {"TelCasa", 551, 30},
    {"TelUff", 582, 30},    {"TelCel", 613, 30},     {"Fax", 644, 30},          {"Email", 675, 50},
    {"CodFisc", 726, 16},   {"Carta", 743, 30},      {"ScadeCarta", 774, 30},   {"PartitaIva", 805, 11},
    {"Iban", 817, 27},      {"Documento", 845, 120}, {"Occupazione", 966, 50},  {"Civile", 1017, 50},
    {"Titoli", 1068, 120},  {"Prodotti", 1189, 120}, {"Zona", 1310, 50},        {"Questioni", 1361, 250},
    {"Note", 1612, 250},    {"Ricontatta", 1863, 2}, {"File01", 1866, 250},     {"File02", 2117, 250},
    {"File03", 2368, 250},  {"Desc01", 2619, 250},   {"Desc02", 2870, 250},     {"Desc03", 3121, 250},
}};
inline constexpr int kClientRecordSize = 3372;

// A card whose unnamed fields are empty. Texts are given as Windows-1252 bytes ("S\xEC" is "Sì").
// The bytes after each text are `filler`, so that comparisons can tell them apart.
inline QByteArray clientCard(const std::map<QByteArray, QByteArray>& values, char filler = '\0') {
    return docRecord(kDocClientFields, kClientRecordSize, values, filler);
}

// The length byte and the text of every field of a client record, without the bytes after the texts.
inline QByteArray meaningfulBytes(const QByteArray& record) {
    return meaningfulBytes(kDocClientFields, record);
}

} // namespace ombrisa::test
