#include "ui/common/picturebox.h"

#include "ui/common/conventions.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QSvgRenderer>

namespace ombrisa {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

PictureBox::PictureBox(const QString& picture, QWidget* parent) : QWidget(parent) {
    setPicture(picture);
}

void PictureBox::setPicture(const QString& path) {
    clearPicture();
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        svg_ = new QSvgRenderer(path, this);
        if (!svg_->isValid()) {
            delete svg_;
            svg_ = nullptr;
        }
    } else {
        pixmap_.load(path);
    }
    update();
}

void PictureBox::setPixmap(const QPixmap& pixmap) {
    clearPicture();
    pixmap_ = pixmap;
    update();
}

void PictureBox::clearPicture() {
    delete svg_;
    svg_ = nullptr;
    pixmap_ = QPixmap();
    scaled_ = QPixmap();
    scaledFrom_ = 0;
    update();
}

bool PictureBox::hasPicture() const {
    return svg_ || !pixmap_.isNull();
}

namespace {

bool pressesButton(const QKeyEvent* event) {
    const int key = event->key();
    return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) && !event->isAutoRepeat() &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

void drawFocusFrame(QWidget* widget) {
    QStylePainter p(widget);
    QStyleOptionFocusRect option;
    option.initFrom(widget);
    option.rect = widget->rect().adjusted(1, 1, -1, -1);
    p.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    // The style's dotted line can be faint on a light picture: a clear frame as well.
    p.setPen(QPen(QColor(0xE0, 0x8A, 0x00), 2, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(widget->rect().adjusted(1, 1, -1, -1));
}

} // namespace

void PictureBox::setClickable(bool clickable) {
    clickable_ = clickable;
    if (clickable) {
        makeClickable(this);
        setFocusPolicy(Qt::TabFocus);
    } else {
        unsetCursor();
        setFocusPolicy(Qt::NoFocus);
    }
}

void PictureBox::click() {
    emit pressed();
    emit released();
    emit clicked();
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    if (clickable_ && pressesButton(event)) {
        click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PictureBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void PictureBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

QSize PictureBox::sizeHint() const {
    if (svg_)
        return svg_->defaultSize();
    if (!pixmap_.isNull())
        return pixmap_.deviceIndependentSize().toSize();
    return {32, 32};
}

const QPixmap& PictureBox::drawnPixmap(QSizeF target) {
    const qreal ratio = devicePixelRatioF();
    const QSize device = (target * ratio).toSize();
    // Up to twice the drawn size, the painter's own smooth scaling is quick enough.
    if (device.isEmpty() || (pixmap_.width() <= 2 * device.width() && pixmap_.height() <= 2 * device.height()))
        return pixmap_;
    if (scaledFrom_ != pixmap_.cacheKey() || scaled_.size() != device) {
        scaled_ = pixmap_.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaledFrom_ = pixmap_.cacheKey();
    }
    return scaled_;
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (hasFocus())
        drawFocusFrame(this);
    if (!hasPicture())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSizeF natural = svg_ ? QSizeF(svg_->defaultSize()) : pixmap_.deviceIndependentSize();
    if (natural.isEmpty())
        return;
    const QSizeF fitted = natural.scaled(QSizeF(size()), Qt::KeepAspectRatio);
    const QRectF target(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    if (svg_)
        svg_->render(&p, target);
    else {
        const QPixmap& drawn = drawnPixmap(target.size());
        p.drawPixmap(target, drawn, QRectF(drawn.rect()));
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    if (!clickable_ || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    down_ = true;
    emit pressed();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (!clickable_ || event->button() != Qt::LeftButton || !down_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    down_ = false;
    emit released();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    makeClickable(this);
    setFocusPolicy(Qt::TabFocus);
    setPressedLook(false);
}

void LinkLabel::click() {
    setPressedLook(false);
    emit clicked();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    if (pressesButton(event)) {
        click();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus())
        drawFocusFrame(this);
}

void LinkLabel::setPressedLook(bool pressed) {
    pressed_ = pressed;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, pressed ? QColor(0xFF, 0xA5, 0x00) : QColor(0x00, 0x00, 0x8B));
    setPalette(pal);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        setPressedLook(true);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    setPressedLook(false);
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace ombrisa
