#pragma once

// Keyboard conventions of the edit boxes: the Enter ring, digit-only boxes and typing filters.

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace ombrisa {

// Enter (Return or the keypad's Enter) in a box of the ring moves the focus to the next box; from the
// last it goes back to the first. Enter does nothing else. setAction replaces the move for one box
// (the password box starts OK; a find box moves to its find button). The ring is a child of `parent`
// (by default the first box's parent) and lives as long as it.
class EnterRing : public QObject {
    Q_OBJECT
public:
    explicit EnterRing(const QList<QWidget*>& order, QObject* parent = nullptr);
    void setAction(QWidget* box, std::function<void()> action);
    QWidget* next(QWidget* box) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* boxOf(QObject* watched) const;

    QList<QWidget*> order_;
    QList<std::pair<QWidget*, std::function<void()>>> actions_;
};

// Digit-only box: of the keys pressed in it only the digits 0-9, Backspace, Delete, Left, Right, Enter
// and Tab / Shift+Tab act; every other key press (letters, blanks, signs, Home, End, shortcuts such as
// Ctrl+V) is discarded. Enter still reaches the Enter ring. Text pasted from the context menu keeps only
// its digits, and nothing can be dropped into the box. A digit typed into a full box (no selection)
// changes nothing, as in any box; here the box also beeps and shows kFullDigitBoxHint beside it, so that
// "select all and retype" (Ctrl+A being discarded) never silently keeps the old value.
void installDigitOnlyFilter(QWidget* box);
inline const QString kFullDigitBoxHint =
    QStringLiteral("Il campo è pieno: per scrivere un nuovo valore cancellare prima le cifre con Backspace o Canc.");

// Typing filters: the filtered text replaces the box's text each time the user changes it.
enum class TypingFilter {
    TrimUpper, // trim, then upper case (codice fiscale, IBAN, provinces, card numbers)
    Upper,     // upper case only
    Trim,      // trim only (e-mail and PEC addresses)
};
// The filtered form of a text. Trim removes leading and trailing characters with code ≤ 32.
QString applyTypingFilter(TypingFilter filter, QStringView text);
// Runs the filter each time the user edits the text (not when the program sets it).
void installTypingFilter(QLineEdit* box, TypingFilter filter);
void installTypingFilter(QComboBox* box, TypingFilter filter);
// Runs the filter each time a key is released in the box (the client's postal code).
void installTypingFilterOnKeyRelease(QLineEdit* box, TypingFilter filter);

} // namespace ombrisa
