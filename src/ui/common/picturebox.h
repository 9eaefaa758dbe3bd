#pragma once

// Picture boxes (img/ico/cmd/btn pictures) and link texts (lnk).

#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QSvgRenderer;

namespace ombrisa {

// Shows an SVG or bitmap scaled to the box, keeping its proportions, centred. A clickable box shows
// the hand pointer and emits pressed / released / clicked (a release inside the box). It is also a
// button for the keyboard and assistive technology: Tab reaches it (a click leaves the focus where it
// was), a dotted frame shows the focus, Space and Enter press it, and it reads as a button named after
// its accessible name (its hint, see HintLine). A clickable picture that only repeats a button beside it
// is taken out of the tab order with setFocusPolicy(Qt::NoFocus) and then reads as a picture.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    PictureBox(const QString& picture, QWidget* parent = nullptr);

    // A resource or file path (".svg" is drawn as vector art, anything else as a bitmap).
    void setPicture(const QString& path);
    void setPixmap(const QPixmap& pixmap);
    void clearPicture();
    bool hasPicture() const;
    QPixmap pixmap() const { return pixmap_; }
    void setClickable(bool clickable);
    QSize sizeHint() const override;
    // What a click does: pressed, released, clicked.
    void click();

signals:
    void pressed();
    void released();
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const QPixmap& drawnPixmap(QSizeF target);

    QSvgRenderer* svg_ = nullptr;
    QPixmap pixmap_;
    // pixmap_ scaled to the size it was last drawn at, when it is much larger (a camera photo):
    // scaled once per size instead of at every paint.
    QPixmap scaled_;
    qint64 scaledFrom_ = 0;
    bool clickable_ = false;
    bool down_ = false;
};

// A link text: underlined, dark blue (#00008B); orange (#FFA500) while a mouse button is held on it
// (or on its picture, through setPressedLook); dark blue again on release. Emits clicked. Tab reaches it,
// a dotted frame shows the focus, Space and Enter press it, and it reads as a link.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);
    void setPressedLook(bool pressed);
    bool pressedLook() const { return pressed_; }
    void click();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace ombrisa
