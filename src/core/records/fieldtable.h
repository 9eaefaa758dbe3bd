#pragma once

#include "core/storage/textfield.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>

namespace ombrisa {

// One text field of a record: its name (the word of the control that edits it), where it starts in the
// record and how many characters it holds. Screens, reports, exports and ombrisa-tool all walk these
// tables instead of naming fields one by one.
struct FieldDef {
    const char* name;
    std::size_t offset;
    std::size_t capacity;
};

using FieldTable = std::span<const FieldDef>;

// The fields follow one another without gaps from byte 0 and end exactly at the record's size.
constexpr bool isPackedTable(FieldTable fields, std::size_t recordSize) {
    std::size_t next = 0;
    for (const FieldDef& f : fields) {
        if (f.offset != next || f.capacity < 1 || f.capacity > 250)
            return false;
        next = f.offset + 1 + f.capacity;
    }
    return next == recordSize;
}

// Index of the field called `name` in the table, or -1.
int fieldIndex(FieldTable fields, QStringView name);

inline QString GetText(const void* record, const FieldDef& f) {
    return GetText(static_cast<const std::uint8_t*>(record) + f.offset, f.capacity);
}
inline void GetText(const void* record, const FieldDef& f, QString& into) {
    GetText(static_cast<const std::uint8_t*>(record) + f.offset, f.capacity, into);
}
inline void PutText(void* record, const FieldDef& f, QStringView text) {
    PutText(static_cast<std::uint8_t*>(record) + f.offset, f.capacity, text);
}

// What a record type tells the rest of the program about itself.
struct ArchiveInfo {
    const char* key;      // short name used by ombrisa-tool: clienti, chiamate, dipendenti, lavori
    const char* fileName; // relative to the program's folder; for work registers, the file prefix
    std::size_t recordSize;
    FieldTable fields;
};

} // namespace ombrisa

#define OMBRISA_FIELD(Record, Field)                                                                                   \
    ::ombrisa::FieldDef {                                                                                              \
#Field, offsetof(Record, Field), decltype(Record::Field)::capacity                                             \
    }
