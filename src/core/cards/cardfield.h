#pragma once

// The one description of a card screen's controls: what each control is, the record field it edits and
// how it treats what is typed (the field table), and where it stands (the placement table). The card
// screen builder in ui/cards builds the boxes, captions, Enter ring, length limits and the record
// mapping from these two tables.

#include <array>
#include <utility>

namespace ombrisa {

// What kind of control edits a field.
enum class CardFieldKind {
    Edit,     // edit box
    ListOnly, // editable combo box that takes its value only from its list
    Province, // editable combo box offering the province codes; what is typed stays as typed
    Hidden,   // hidden label holding a value that the screen computes
};

// How a box treats its text while the user types.
enum class CardFilter {
    None,
    Trim,              // trim, on every change
    TrimUpper,         // trim, then upper case, on every change
    Upper,             // upper case, on every change
    UpperOnKeyRelease, // upper case, when a key is released
    Digits,            // keys other than digits, Backspace, Delete, Left, Right and Enter are discarded
};

// Further properties of a control, combined with |.
enum CardFieldFlag : unsigned {
    kFilterOnLeave = 1u, // the filter runs once more when the box loses the focus
    kNoLengthLimit = 2u, // no length limit (the save checks judge it); otherwise the field's capacity
    kCentred = 4u,       // the text is centred
};

// One control of a card, in screen order (which is also the Enter ring and the tab order, hidden labels
// aside): its name, its caption, the record field it edits, its kind, its filter, its flags and, where the
// box takes fewer characters than the field holds, how many it takes (0: the field's capacity).
struct CardField {
    const char* control;
    const char* caption;
    const char* field;
    CardFieldKind kind = CardFieldKind::Edit;
    CardFilter filter = CardFilter::None;
    unsigned flags = 0;
    int boxLimit = 0;

    constexpr bool has(CardFieldFlag flag) const { return (flags & flag) != 0; }
};

// Where a control of the field table stands: in area `area` (a section, or a group that the screen
// provides), in row `row` of captions and boxes, from column `column` over `span` columns. Hidden labels
// have no place; their entry is ignored.
struct CardPlacement {
    int area;
    int row;
    int column;
    int span;
};

// The hidden attachment labels of the client and agent cards (their design text is the field's name),
// with the fields they hold; a duplicate empties them.
inline constexpr std::array<std::pair<const char*, const char*>, 6> kCardAttachmentLabels{{
    {"lblFile01", "File01"},
    {"lblFile02", "File02"},
    {"lblFile03", "File03"},
    {"lblDesc01", "Desc01"},
    {"lblDesc02", "Desc02"},
    {"lblDesc03", "Desc03"},
}};

} // namespace ombrisa
