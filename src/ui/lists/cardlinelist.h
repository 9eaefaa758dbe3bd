#pragma once

#include "ui/lists/cardlinemodel.h"

#include <QListView>
#include <cstdint>

namespace ombrisa {

// lstRecords of the list screens: the lines in "Courier New" 12, black, whatever the style says, so
// the columns line up; every row 1600 pixels wide (or as wide as the longest line) with both scroll
// bars shown, so long lines scroll sideways. A double-click anywhere on the list reports the card of the selected line,
// or 0 when no line is selected; Enter reports the selected line's card, or else the card of the line
// the keyboard is on (nothing on an empty list).
// A list told to fit its columns (fitColumns) takes a smaller Courier where its width needs it, so that
// a line of that many characters shows whole, and its rows are only as wide as the view or the longest
// line: the work lists show every column, "Tot. ore" included, on a 1366-pixel screen.
class CardLineList : public QListView {
    Q_OBJECT
public:
    explicit CardLineList(QWidget* parent = nullptr);

    CardLineModel* lines() const { return model_; }
    // The card of the selected line, or 0.
    std::int64_t selectedCard() const;
    void setLines(std::vector<CardLine> lines);
    // From now on the font is the largest Courier, from 12 points down to kLeastFittedPoints, in which
    // `characters` characters fit the list's width; chosen again whenever the list is resized.
    void fitColumns(int characters);
    static constexpr double kLeastFittedPoints = 8;

signals:
    void cardDoubleClicked(std::int64_t card);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitFont();
    void updateItemSize(qsizetype longest);
    static qsizetype longestLine(const std::vector<CardLine>& lines);

    CardLineModel* model_;
    int fitCharacters_ = 0; // 0: the Courier 12 of every list, rows at least 1600 wide
};

} // namespace ombrisa
