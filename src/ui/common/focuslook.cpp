#include "ui/common/focuslook.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace ombrisa {
namespace {

constexpr int kMargin = 4;

// The yellow frame: filled yellow, its outer edge shading from yellow to white.
class FocusRect final : public QWidget {
public:
    FocusRect(QWidget* box) : QWidget(box->parentWidget()), box_(box) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        QString word = box->objectName();
        if (word.startsWith(QLatin1String("txt")))
            word = word.mid(3);
        setObjectName(QStringLiteral("eff") + word);
        follow();
        stackUnder(box);
        setVisible(box->hasFocus());
        box->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::FocusIn:
            follow();
            stackUnder(box_);
            show();
            break;
        case QEvent::FocusOut:
            if (!box_->hasFocus())
                hide();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            follow();
            break;
        case QEvent::Hide:
            hide();
            break;
        default:
            break;
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRectF r = QRectF(rect());
        p.fillRect(r, QColor(0xFF, 0xFF, 0x00));
        // Border: yellow inside, white at the very edge.
        for (int i = 0; i < 2; ++i) {
            const double t = (2 - i) / 2.0; // 1 = white at the edge, 0.5 = pale yellow
            QColor c = QColor::fromRgbF(1.0f, 1.0f, static_cast<float>(t));
            p.setPen(QPen(c, 1));
            p.drawRect(r.adjusted(i + 0.5, i + 0.5, -i - 0.5, -i - 0.5));
        }
    }

private:
    void follow() { setGeometry(box_->geometry().adjusted(-kMargin, -kMargin, kMargin, kMargin)); }

    QWidget* box_;
};

} // namespace

QWidget* addFocusRect(QWidget* box) {
    if (!box || !box->parentWidget())
        return nullptr;
    return new FocusRect(box);
}

void applyFieldLook(QWidget* box) {
    if (!box)
        return;
    const char* type = "QLineEdit";
    if (qobject_cast<QComboBox*>(box))
        type = "QComboBox";
    else if (qobject_cast<QPlainTextEdit*>(box))
        type = "QPlainTextEdit";
    else if (qobject_cast<QTextEdit*>(box))
        type = "QTextEdit";
    box->setStyleSheet(QStringLiteral("%1 { background-color: #F0F8FF; border: 1px solid #87CEEB; padding: 1px 3px; }"
                                      "%1:focus { background-color: #FFFF00; }")
                           .arg(QLatin1String(type)));
}

} // namespace ombrisa
