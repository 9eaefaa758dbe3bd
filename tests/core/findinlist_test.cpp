#include "core/search/findinlist.h"

#include <gtest/gtest.h>

using ombrisa::findInList;

namespace {

const QStringList kLines = {
    "Rossi Mario      Forlì",   // 0
    "Bianchi Anna     Roma",    // 1
    "ROSSINI Luca     Milano",  // 2
    "Verdi Giuseppe   Rossano", // 3
    "Neri Paolo       Bari",    // 4
};

struct FindCase {
    const char* name;
    int selected;    // before the find
    const char* box; // find box text
    const char* remembered;
    int expected; // selected afterwards
    bool found;
};

const FindCase kCases[] = {
    {"upper case finds lower case", -1, "ROSSI", "", 0, true},
    {"repeat finds the next line", 0, "rossi", "rossi", 2, true},
    {"repeat goes on from the selected line", 2, "ROSSI", "rossi", 0, true},
    {"repeat wraps to the first match", 3, "ross", "ross", 0, true},
    {"new text starts from the first line", 3, "rossi", "bianchi", 0, true},
    {"new text tests the first line first", 4, "rossi mario", "", 0, true},
    {"trailing blank needs a blank after the letters", -1, "rossi ", "", 0, true},
    {"trailing blank skips a longer word", 0, "rossi ", "rossi ", 0, true},
    {"single match stays selected", 1, "anna", "anna", 1, true},
    {"no match keeps the selection", 2, "torino", "", 2, false},
    {"no selection becomes the first line", -1, "torino", "", 0, false},
    {"empty text never moves the selection", 3, "", "", 3, false},
    {"empty new text never moves the selection", 3, "", "rossi", 3, false},
    {"match inside a line", -1, "BARI", "", 4, true},
};

TEST(FindInList, Cases) {
    for (const FindCase& c : kCases) {
        SCOPED_TRACE(c.name);
        QString remembered = QString::fromUtf8(c.remembered);
        const auto outcome = findInList(kLines, c.selected, QString::fromUtf8(c.box), remembered);
        EXPECT_FALSE(outcome.emptyList);
        EXPECT_EQ(outcome.selected, c.expected);
        EXPECT_EQ(outcome.found, c.found);
        EXPECT_EQ(remembered, QString::fromUtf8(c.box).toLower());
    }
}

TEST(FindInList, RepeatedFindsWalkThroughEveryMatchAndWrap) {
    QString remembered;
    int selected = -1;
    QList<int> visited;
    for (int i = 0; i < 4; ++i) {
        selected = findInList(kLines, selected, "Ross", remembered).selected;
        visited.append(selected);
    }
    EXPECT_EQ(visited, QList<int>({0, 2, 3, 0}));
}

TEST(FindInList, EmptyListChangesNothing) {
    QString remembered = "abc";
    for (const char* box : {"", "rossi"}) {
        const auto outcome = findInList(QStringList(), -1, box, remembered);
        EXPECT_TRUE(outcome.emptyList);
        EXPECT_EQ(remembered, "abc");
    }
    EXPECT_EQ(ombrisa::kFindEmptyListMessage, "Ricerca non applicabile: la lista non contiene nessuna voce.");
}

} // namespace
