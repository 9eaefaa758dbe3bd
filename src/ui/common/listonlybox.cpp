#include "ui/common/listonlybox.h"

#include "core/storage/textfield.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace ombrisa {

namespace {

class ListOnlyFilter final : public QObject {
public:
    ListOnlyFilter(QComboBox* box, std::function<bool(const QString&)> accepts)
        : QObject(box), box_(box), boxObject_(box), editObject_(box->lineEdit()), accepts_(std::move(accepts)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != boxObject_ && watched != editObject_)
            return false;
        // While the box is being taken down its children still send events (its line edit among them); by
        // then it is no longer a combo box and must not be asked anything.
        if (!qobject_cast<const QComboBox*>(boxObject_))
            return false;
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_F4:
                return false;
            case Qt::Key_Down:
                return !(key->modifiers() & Qt::AltModifier); // Alt+Down opens the list
            case Qt::Key_Backspace:
            case Qt::Key_Delete:
                clearListBox(box_);
                return true;
            default:
                return true;
            }
        }
        case QEvent::FocusIn:
            if (movesBetweenControls(event))
                dropSelection(box_);
            return false;
        case QEvent::FocusOut:
            if (movesBetweenControls(event) && !accepted(trimText(box_->currentText())))
                clearListBox(box_);
            return false;
        default:
            return false;
        }
    }

private:
    bool accepted(const QString& text) const {
        if (accepts_)
            return accepts_(text);
        return text.isEmpty() || box_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
    }

    QComboBox* box_;
    // The watched objects as plain QObject pointers, taken while they were whole: compared, never called.
    const QObject* boxObject_;
    const QObject* editObject_;
    std::function<bool(const QString&)> accepts_;
};

} // namespace

void makeListOnly(QComboBox* box, std::function<bool(const QString& text)> accepts) {
    auto* filter = new ListOnlyFilter(box, std::move(accepts));
    box->installEventFilter(filter);
    if (QLineEdit* edit = box->lineEdit()) {
        edit->installEventFilter(filter);
        edit->setContextMenuPolicy(Qt::NoContextMenu);
        edit->setAcceptDrops(false);
    }
}

void clearListBox(QComboBox* box) {
    box->setCurrentIndex(-1);
    if (box->isEditable())
        box->clearEditText();
}

void dropSelection(QComboBox* box) {
    if (box->currentIndex() == -1)
        return;
    const QString text = box->currentText();
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

bool movesBetweenControls(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace ombrisa
