#pragma once

// The rules of the three search screens and of the recontact list: which box is compared with which
// field, how a record becomes a list line, the order of the list and its count line. The screens and
// ombrisa-tool search both call these.

#include "core/records/fieldtable.h"
#include "core/search/cardline.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace ombrisa {

// One filter box of a search screen: its control name, its caption and the field it is compared with.
struct SearchFilter {
    const char* box;
    const char* caption;
    const char* field;
};

// One piece of a list line: a literal label, then the field's text (trimmed) padded with blanks on the
// right or cut to `width` characters; width 0 leaves the text as it is.
struct LinePiece {
    const char* label;
    const char* field;
    int width;
};

struct SearchRules {
    const ArchiveInfo* archive;
    std::array<SearchFilter, 10> filters; // in Enter order
    std::span<const LinePiece> line;
    bool sorted;        // client and agent results are sorted, calls stay in file order
    bool countFullStop; // the agent count line has none
};

enum class SearchArchive { Clienti, Chiamate, Dipendenti };
const SearchRules& searchRules(SearchArchive which);
// "clienti", "chiamate", "dipendenti" (ombrisa-tool's words) to the rules, or nullptr.
const SearchRules* searchRulesFor(QStringView key);

// Builds the list line of one record.
class LineBuilder {
public:
    LineBuilder(FieldTable fields, std::span<const LinePiece> pieces);
    QString build(const void* record) const;

private:
    struct Piece {
        QString label;
        const FieldDef* field;
        int width;
    };
    std::vector<Piece> pieces_;
};

// The matching rule. Every box whose text, trimmed, is not empty must occur, exactly as typed (blanks
// included) and without regard to case, as a substring of its field's text (trimmed, as read); boxes
// that are empty or hold only blanks ask nothing. With no box filled every record matches.
//
// Each box is converted once to lower case and to Windows-1252 bytes; records are compared on the
// bytes of those fields only, through a lower-case table, so that a scan builds no text for records
// that do not match. A box whose lower-case text holds a character Windows-1252 lacks can match no
// stored text, and so no record. The result equals comparing the texts as read.
class RecordMatcher {
public:
    // `boxTexts[i]` is the text of filter box i of `rules` (missing entries count as empty).
    RecordMatcher(const SearchRules& rules, const QStringList& boxTexts);
    // One field and one text, for callers outside the search screens.
    RecordMatcher(FieldTable fields, const std::vector<std::pair<QString, QString>>& fieldTexts);

    bool matches(const void* record) const;

private:
    void add(const FieldDef& field, const QString& text);
    struct Needle {
        std::size_t offset;
        std::size_t capacity;
        QByteArray bytes; // lower case, Windows-1252
    };
    std::vector<Needle> needles_;
    bool impossible_ = false;
};

// The Windows-1252 byte of the lower-case form of each byte's character.
const std::array<unsigned char, 256>& cp1252LowerTable();

// "Il presente riepilogo contiene N schede." (without the full stop for the agent search).
QString countLine(std::size_t count, bool fullStop);

// Reads the archive at `path` (created empty when missing) in file order and lists every record that
// the box texts match, sorted when the rules say so. A failure to open or read stops the listing.
CardListing searchArchive(const SearchRules& rules, const QString& path, const QStringList& boxTexts);

// The recontact list: every client of the archive at `path` whose Ricontatta reads "Sì", one line each
// (name, telephone, occupation, products, pending questions), sorted.
std::span<const LinePiece> recontactLine();
CardListing recontactList(const QString& path);

// Reads card `card` (from 1) of the archive at `path` into `record` (recordSize bytes). False, with the
// reason in `error`, when the archive cannot be read or holds no such card.
bool readCard(const QString& path, std::size_t recordSize, std::int64_t card, void* record, QString* error = nullptr);

} // namespace ombrisa
