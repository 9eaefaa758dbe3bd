#pragma once

// Archive records written byte by byte from a documented layout, never by the code under test: each
// text field is a length byte followed by its capacity in Windows-1252 bytes.

#include <QByteArray>

#include <map>
#include <span>

namespace ombrisa::test {

struct DocField {
    const char* name;
    int offset;
    int capacity;
};

// A record of `size` bytes whose named fields hold the given texts (Windows-1252 bytes, "S\xEC" is "Sì")
// and whose other fields are empty. The bytes after each text are `filler`, so that comparisons can
// tell them apart.
inline QByteArray docRecord(std::span<const DocField> layout, int size, const std::map<QByteArray, QByteArray>& values,
                            char filler) {
    QByteArray r(size, filler);
    for (const DocField& f : layout) {
        const auto it = values.find(QByteArray(f.name));
        const QByteArray text = it == values.end() ? QByteArray() : it->second;
        r[f.offset] = static_cast<char>(text.size());
        for (int i = 0; i < text.size(); ++i)
            r[f.offset + 1 + i] = text[i];
    }
    return r;
}

// The length byte and the text of every field of a record, without the bytes after the texts.
inline QByteArray meaningfulBytes(std::span<const DocField> layout, const QByteArray& record) {
    QByteArray out;
    for (const DocField& f : layout) {
        const int length = static_cast<unsigned char>(record.at(f.offset));
        out += record.mid(f.offset, 1 + length);
    }
    return out;
}

} // namespace ombrisa::test
