#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace ombrisa {

// "Ricerca non applicabile: la lista non contiene nessuna voce." (plain box, OK).
inline const QString kFindEmptyListMessage =
    QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce.");

struct FindOutcome {
    bool emptyList = false; // nothing was searched: the screen shows kFindEmptyListMessage
    int selected = -1;      // the line to select afterwards (-1 only for an empty list)
    bool found = false;
};

// The find rule of every list screen. `selected` is the selected line or -1; `boxText` the find box's
// text as typed; `remembered` the screen's remembered find text, updated here.
// The search text is boxText in lower case, not trimmed. A new text starts at the first line and tests
// it first; the same text as last time starts after the selected line. Lines are tested in order,
// wrapping round, the starting point's line last, until one contains the search text (both sides in
// lower case). With no line selected the first one becomes selected. Nothing found: the selection
// stays. An empty search text matches no line. An empty list changes nothing.
FindOutcome findInList(int count, const std::function<QString(int)>& lineAt, int selected, const QString& boxText,
                       QString& remembered);
FindOutcome findInList(const QStringList& lines, int selected, const QString& boxText, QString& remembered);

} // namespace ombrisa
