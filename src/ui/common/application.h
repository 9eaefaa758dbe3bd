#pragma once

// The program's application object: a QApplication whose event delivery is the program's general
// error handler. A failure (exception) that no screen catches is shown in an error box with its own
// message, and the program goes on.

#include <QApplication>

namespace ombrisa {

class OmbrisaApplication : public QApplication {
    Q_OBJECT
public:
    OmbrisaApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace ombrisa
