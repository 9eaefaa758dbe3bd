#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace ombrisa {

// One line of a list screen and the card it was built from. The card number travels with the line so
// that a double-click opens exactly that card, even when another card gives the same text.
struct CardLine {
    QString text;
    std::int64_t card = 0; // the record's place in its archive, from 1
};

// What a listing read from an archive: its lines, or the failure that stopped it.
struct CardListing {
    bool ok = true;
    QString error; // the file layer's reason when !ok
    std::vector<CardLine> lines;
};

// The order of the sorted lists: whole texts compared with the letters a-z folded to A-Z and every
// other character by its code, ascending. Lines that compare equal keep their file order.
int compareLineText(const QString& a, const QString& b);
void sortLines(std::vector<CardLine>& lines);

} // namespace ombrisa
