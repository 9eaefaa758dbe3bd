#pragma once

// Call cards written byte by byte from the documented layout of "Registro_Chiamate.pro", never by the
// code under test: 20 text fields, each a length byte and its capacity in Windows-1252 bytes, 1291 bytes.

#include "uisupport/docrecord.h"

#include <QByteArray>
#include <array>
#include <map>

namespace ombrisa::test {

inline constexpr std::array<DocField, 20> kDocCallFields{{
    {"GiornoRit", 0, 2},   {"MeseRit", 3, 10},  {"AnnoRit", 14, 4},   {"DataRit", 19, 10},  {"OreRit", 30, 2},
    {"MinutiRit", 33, 2},  {"OraRit", 36, 5},   {"Tipo", 42, 20},     {"Oggetto", 63, 250}, {"Esito", 314, 250},
    {"Grado", 565, 50},    {"Durata", 616, 50}, {"Cliente", 667, 50}, {"CodFisc", 718, 16}, {"Zona", 735, 50},
    {"Recapito", 786, 50}, {"TelCel", 837, 30}, {"Email", 868, 50},   {"Note", 919, 250},   {"Operatore", 1170, 120},
}};
inline constexpr int kCallRecordSize = 1291;

// A call record whose unnamed fields are empty; texts are Windows-1252 bytes. The bytes after each text
// are `filler`.
inline QByteArray callCard(const std::map<QByteArray, QByteArray>& values, char filler = '\0') {
    return docRecord(kDocCallFields, kCallRecordSize, values, filler);
}

// The length byte and text of every field, without the bytes after the texts.
inline QByteArray meaningfulCallBytes(const QByteArray& record) {
    return meaningfulBytes(kDocCallFields, record);
}

} // namespace ombrisa::test
