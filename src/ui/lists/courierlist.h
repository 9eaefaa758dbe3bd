#pragma once

class QListView;

namespace ombrisa {

class CardLineList;

// The look of every list whose lines are columns of text (search, recontact, work register, hours
// summary): "Courier New" 12, black, one line per row of one height, never cut or wrapped, one line
// selected at a time, no editing, both scroll bars shown and long lines scrolled sideways pixel by pixel.
void setupCourierList(QListView* list);

// The work lists (register and hours summary): on a white ground, with a font that shows a work's
// whole line, every column to "Tot. ore", in the list's width (CardLineList::fitColumns).
void setupWorkList(CardLineList* list);

} // namespace ombrisa
