#include "ui/lists/courierlist.h"

#include "core/work/workregister.h"
#include "ui/common/screen.h"
#include "ui/lists/cardlinelist.h"

#include <QListView>

namespace ombrisa {

void setupCourierList(QListView* list) {
    QFont font = screenFont(QStringLiteral("Courier New,Liberation Mono,DejaVu Sans Mono"), 12, false);
    font.setStyleHint(QFont::TypeWriter);
    list->setFont(font);
    list->setStyleSheet(QStringLiteral("QListView { color: black; }"));
    list->setUniformItemSizes(true); // rows of one height: no per-line measuring, whatever the count
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->setTextElideMode(Qt::ElideNone);
    list->setWordWrap(false);
}

void setupWorkList(CardLineList* list) {
    list->setStyleSheet(QStringLiteral("QListView { color: black; background: white; }"));
    list->fitColumns(kWorkListLineLength);
}

} // namespace ombrisa
