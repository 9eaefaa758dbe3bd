#include "ui/common/hintline.h"

#include "ui/common/picturebox.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

namespace ombrisa {
namespace {
const char* const kHintProperty = "ombrisaHint";
const char* const kClearProperty = "ombrisaClearsHint";
} // namespace

HintLine::HintLine(QLabel* panInfo) : QObject(panInfo), panInfo_(panInfo) {}

void HintLine::setHint(QWidget* control, const QString& hint) {
    if (!control)
        return;
    control->setProperty(kHintProperty, hint);
    control->setMouseTracking(true);
    control->installEventFilter(this);
    const auto* button = qobject_cast<QAbstractButton*>(control);
    const bool wordless = (button && button->text().isEmpty()) || qobject_cast<PictureBox*>(control);
    if (wordless && control->accessibleName().isEmpty()) {
        QString name = hint.trimmed();
        if (name.endsWith(QLatin1Char('.')) && !name.endsWith(QLatin1String("...")))
            name.chop(1);
        control->setAccessibleName(name);
    }
    if (control->accessibleDescription().isEmpty())
        control->setAccessibleDescription(hint);
}

QString HintLine::hintOf(const QWidget* control) {
    return control ? control->property(kHintProperty).toString() : QString();
}

void HintLine::replaceHint(QWidget* control, const QString& hint) {
    control->setProperty(kHintProperty, hint);
    control->setAccessibleDescription(hint);
}

void HintLine::clearOver(QWidget* area) {
    if (!area)
        return;
    area->setProperty(kClearProperty, true);
    area->setMouseTracking(true);
    area->installEventFilter(this);
    // Qt delivers a move to the widget under the mouse only: watch the children too.
    for (QWidget* child : area->findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
}

bool HintLine::eventFilter(QObject* watched, QEvent* event) {
    const bool enter = event->type() == QEvent::Enter;
    const bool move = event->type() == QEvent::MouseMove;
    if (!enter && !move)
        return false;
    // The nearest widget, from the one under the mouse outwards, that has a hint or empties the line.
    for (QObject* o = watched; o; o = o->parent()) {
        const QVariant hint = o->property(kHintProperty);
        if (hint.isValid()) {
            panInfo_->setText(hint.toString());
            // A move stops here, so that the background under the control does not empty the line.
            return move && static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton;
        }
        if (o->property(kClearProperty).toBool()) {
            if (move)
                panInfo_->clear();
            return false;
        }
        if (o->isWidgetType() && static_cast<QWidget*>(o)->isWindow())
            break;
    }
    return false;
}

} // namespace ombrisa
