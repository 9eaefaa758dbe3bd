#pragma once

// Archives for the export tests, written byte by byte: each field gets exactly the Windows-1252 bytes
// given (blanks included, no trimming), so that the tests see what another workstation may have stored.

#include "core/records/fieldtable.h"
#include "core/records/records.h"
#include "core/storage/codepage.h"

#include <QFile>
#include <QString>
#include <cstring>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace ombrisa::test {

using Fields = std::vector<std::pair<const char*, QString>>;

template <class Record, std::size_t N> Record makeRecord(const std::array<FieldDef, N>& table, const Fields& fields) {
    Record record;
    std::memset(&record, 0, sizeof record);
    for (const auto& [name, text] : fields) {
        const int i = fieldIndex(table, QString::fromLatin1(name));
        EXPECT_GE(i, 0) << name;
        if (i < 0)
            continue;
        const QByteArray bytes = toCp1252(text);
        auto* at = reinterpret_cast<std::uint8_t*>(&record) + table[i].offset;
        EXPECT_LE(static_cast<std::size_t>(bytes.size()), table[i].capacity) << name;
        at[0] = static_cast<std::uint8_t>(bytes.size());
        std::memcpy(at + 1, bytes.constData(), std::min<std::size_t>(bytes.size(), table[i].capacity));
    }
    return record;
}

inline TRecChiamata makeCall(const Fields& fields) {
    return makeRecord<TRecChiamata>(kChiamataFields, fields);
}
inline TRecCliente makeClient(const Fields& fields) {
    return makeRecord<TRecCliente>(kClienteFields, fields);
}

// Writes the records one after another: the whole archive file.
template <class Record> void writeArchive(const QString& path, const std::vector<Record>& records) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const Record& r : records)
        ASSERT_EQ(file.write(reinterpret_cast<const char*>(&r), sizeof r), qint64(sizeof r));
}

} // namespace ombrisa::test
