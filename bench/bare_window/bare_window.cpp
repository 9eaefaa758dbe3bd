// The start-up baseline: a bare Qt Widgets window, built with the same toolkit and options as the
// program. With --startup-check it ends once the window has been painted, as the program does.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTextStream>
#include <QVBoxLayout>
#include <QWidget>

namespace {

class Window : public QWidget {
public:
    explicit Window(bool quitWhenPainted) : quitWhenPainted_(quitWhenPainted) {
        setWindowTitle(QStringLiteral("Finestra"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("Password:")));
        layout->addWidget(new QLineEdit);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
        if (quitWhenPainted_ && !painted_) {
            painted_ = true;
            QTextStream(stdout) << "bare" << Qt::endl;
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        }
    }

private:
    bool quitWhenPainted_;
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Window window(app.arguments().contains(QStringLiteral("--startup-check")));
    window.show();
    return QApplication::exec();
}
