#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstddef>
#include <cstdint>

namespace ombrisa {

// Removes leading and trailing characters whose code is 32 or less (blanks and controls).
// This is the trim of the whole program: archives, typing filters, passwords, comparisons.
QStringView trimView(QStringView text);
inline QString trimText(QStringView text) {
    return trimView(text).toString();
}

// trimView's rule on Windows-1252 bytes (which keep the codes 0 to 32 of the characters they stand for):
// the bytes without those of code 32 or less at either end.
inline QByteArrayView trimBytes(QByteArrayView bytes) {
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 32)
        --end;
    return bytes.sliced(begin, end - begin);
}

// The stored text of a field given by its first byte and its capacity, as GetText reads it but still in
// Windows-1252: at most `capacity` bytes (a length byte above the capacity reads as the capacity), trimmed.
// Scans and exports compare and copy these bytes without building a string.
inline QByteArrayView storedText(const std::uint8_t* field, std::size_t capacity) {
    const std::size_t length = field[0] > capacity ? capacity : field[0];
    return trimBytes(QByteArrayView(reinterpret_cast<const char*>(field + 1), static_cast<qsizetype>(length)));
}

// A text field of capacity N as it lies in a record: a length byte, then N bytes of Windows-1252 text
// of which only the first `length` mean anything.
template <std::size_t N> struct ShortString {
    static_assert(N >= 1 && N <= 250, "text fields hold 1 to 250 characters");
    static constexpr std::size_t capacity = N;
    std::uint8_t length;
    char text[N];
};

// Reads a field given by its first byte and its capacity. A length byte above the capacity (a damaged
// or foreign file) reads as the capacity: nothing past the field is ever read.
QString GetText(const std::uint8_t* field, std::size_t capacity);
// The same into an existing string, reusing its memory (for scans over whole archives).
void GetText(const std::uint8_t* field, std::size_t capacity, QString& into);
// Trims, converts to Windows-1252 and keeps at most the first `capacity` bytes. The bytes after the
// kept text are left as they were.
void PutText(std::uint8_t* field, std::size_t capacity, QStringView text);

template <std::size_t N> QString GetText(const ShortString<N>& f) {
    return GetText(&f.length, N);
}
template <std::size_t N> void PutText(ShortString<N>& f, QStringView text) {
    PutText(&f.length, N, text);
}

// True when the length byte of a field claims more than the field can hold.
inline bool lengthOverCapacity(const std::uint8_t* field, std::size_t capacity) {
    return field[0] > capacity;
}

} // namespace ombrisa
