#include "ui/lists/findbox.h"

#include "core/search/findinlist.h"
#include "ui/common/conventions.h"
#include "ui/common/services.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace ombrisa {

ListFinder::ListFinder(QLineEdit* txtTrova, QPushButton* btnTrova, QAbstractItemView* list, QString* remembered)
    : QObject(txtTrova), box_(txtTrova), button_(btnTrova), list_(list), shared_(remembered) {
    box_->installEventFilter(this);
    connect(button_, &QPushButton::clicked, this, &ListFinder::find);
}

bool ListFinder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == box_ && enterMoves_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            button_->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ListFinder::find() {
    const QAbstractItemModel* model = list_ ? list_->model() : nullptr;
    const int count = model ? model->rowCount(list_->rootIndex()) : 0;
    if (count == 0) {
        showPlain(list_ ? list_->window() : nullptr, kFindEmptyListMessage);
        return;
    }
    const QModelIndex root = list_->rootIndex();
    const QModelIndex current = list_->currentIndex();
    int selected = -1;
    if (current.isValid() && list_->selectionModel() && list_->selectionModel()->isSelected(current))
        selected = current.row();
    const FindOutcome outcome = findInList(
        count, [&](int row) { return model->index(row, 0, root).data(Qt::DisplayRole).toString(); }, selected,
        box_->text(), remembered());
    if (outcome.selected < 0)
        return;
    const QModelIndex line = model->index(outcome.selected, 0, root);
    list_->selectionModel()->setCurrentIndex(line, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list_->scrollTo(line);
}

FindBox::FindBox(QAbstractItemView* list, QWidget* parent, QString* remembered) : QWidget(parent) {
    txtTrova = new QLineEdit(this);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    txtTrova->setAccessibleName(QStringLiteral("Testo da trovare nell'elenco"));
    btnTrova = new QPushButton(QStringLiteral("Trova"), this);
    btnTrova->setObjectName(QStringLiteral("btnTrova"));
    makeClickable(btnTrova);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtTrova, 1);
    layout->addWidget(btnTrova);
    finder = new ListFinder(txtTrova, btnTrova, list, remembered);
}

} // namespace ombrisa
