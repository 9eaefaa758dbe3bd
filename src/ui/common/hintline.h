#pragma once

// The hint line `panInfo`: shows the hint of the command picture or picture button under the mouse and
// is emptied when the mouse moves over the screen's background. Nothing clears it on a timer.

#include <QObject>
#include <QString>

class QLabel;
class QWidget;

namespace ombrisa {

class HintLine : public QObject {
    Q_OBJECT
public:
    // `panInfo` keeps its design text until the mouse first moves over the background.
    explicit HintLine(QLabel* panInfo);
    // The mouse entering or moving over `control` shows `hint`. The hint is also the control's accessible
    // description, and the accessible name of a picture without words (a tool button without text, a
    // clickable picture) that has none.
    void setHint(QWidget* control, const QString& hint);
    // The hint a control was given ("" for none), and a new text for it (a command key added).
    static QString hintOf(const QWidget* control);
    static void replaceHint(QWidget* control, const QString& hint);
    // The mouse moving over `area` (the screen, its panels, decorative pictures, the position label)
    // empties the line. Moves over the children that `area` has at the time of the call count as moves
    // over `area`, except over controls with a hint.
    void clearOver(QWidget* area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* panInfo_;
};

} // namespace ombrisa
