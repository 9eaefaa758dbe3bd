#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

class QAbstractItemView;
class QLineEdit;
class QPushButton;

namespace ombrisa {

// Find in list for the list screens: attaches the rule of core's findInList to a find box txtTrova,
// its button btnTrova and the list lstRecords (any item view; lines are the display texts of column 0).
// btnTrova runs the find: an empty list shows the plain message kFindEmptyListMessage; a found line
// becomes the current, selected line and is scrolled into view. Any other failure is ignored.
// By default Enter in txtTrova moves the focus to btnTrova without pressing it.
class ListFinder : public QObject {
    Q_OBJECT
public:
    // `remembered`, when given, is the remembered find text shared beyond this screen (the hours
    // summary keeps one for the whole run); otherwise the finder keeps its own.
    ListFinder(QLineEdit* txtTrova, QPushButton* btnTrova, QAbstractItemView* list, QString* remembered = nullptr);

    void setEnterMovesToButton(bool on) { enterMoves_ = on; }
    // Empties the remembered find text (the search screens, the recontact list and the work register
    // do it each time they are shown).
    void clearRemembered() { remembered().clear(); }
    QString& remembered() { return shared_ ? *shared_ : own_; }

    // btnTrova's click.
    void find();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box_;
    QPushButton* button_;
    QAbstractItemView* list_;
    QString* shared_;
    QString own_;
    bool enterMoves_ = true;
};

// A ready-made find box: txtTrova and btnTrova ("Trova") side by side, with a ListFinder over `list`.
class FindBox : public QWidget {
    Q_OBJECT
public:
    explicit FindBox(QAbstractItemView* list, QWidget* parent = nullptr, QString* remembered = nullptr);

    QLineEdit* txtTrova;
    QPushButton* btnTrova;
    ListFinder* finder;
};

} // namespace ombrisa
