#pragma once

#include "ui/lists/cardlinemodel.h"

#include <QListView>
#include <cstdint>

namespace ombrisa {

// lstRecords of the list screens: the lines in "Courier New" 12, black, whatever the style says, so
// the columns line up; every row 1600 pixels wide (or as wide as the longest line) with both scroll
// bars shown, so long lines scroll sideways. A double-click anywhere on the list reports the card of the selected line,
// or 0 when no line is selected.
class CardLineList : public QListView {
    Q_OBJECT
public:
    explicit CardLineList(QWidget* parent = nullptr);

    CardLineModel* lines() const { return model_; }
    // The card of the selected line, or 0.
    std::int64_t selectedCard() const;
    void setLines(std::vector<CardLine> lines);

signals:
    void cardDoubleClicked(std::int64_t card);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    CardLineModel* model_;
};

} // namespace ombrisa
