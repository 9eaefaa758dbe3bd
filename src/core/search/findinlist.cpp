#include "core/search/findinlist.h"

namespace ombrisa {

FindOutcome findInList(int count, const std::function<QString(int)>& lineAt, int selected, const QString& boxText,
                       QString& remembered) {
    FindOutcome outcome;
    if (count <= 0) {
        outcome.emptyList = true;
        return outcome;
    }
    if (selected < 0 || selected >= count)
        selected = 0;
    outcome.selected = selected;
    const QString search = boxText.toLower();
    const int start = search == remembered ? (selected + 1) % count : 0;
    remembered = search;
    if (search.isEmpty())
        return outcome;
    for (int step = 0; step < count; ++step) {
        const int line = (start + step) % count;
        if (lineAt(line).toLower().contains(search)) {
            outcome.selected = line;
            outcome.found = true;
            break;
        }
    }
    return outcome;
}

FindOutcome findInList(const QStringList& lines, int selected, const QString& boxText, QString& remembered) {
    return findInList(
        int(lines.size()), [&](int i) { return lines[i]; }, selected, boxText, remembered);
}

} // namespace ombrisa
