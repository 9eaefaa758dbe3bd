#pragma once

// Settings that hold for the whole program: formats, translations, the pointer over clickable things.

#include <QString>

class QApplication;
class QWidget;

namespace ombrisa {

// The short date format of every date the program shows or reads ("05/03/2024"). Dates are formatted
// and read through core's formatDate / parseDate, which use it.
inline const QString kShortDateFormat = QStringLiteral("dd/MM/yyyy");

// Process-wide formats: the default locale becomes Italian (Italy), so every number the program formats
// or reads through QLocale uses "," as decimal separator (7,5). Called once, by setupApplication().
void applyScreenFormats();

// Loads Qt's own Italian translations (qtbase_it) so that standard buttons read "Sì", "No", "Annulla",
// "OK". False when they cannot be found; the program still works, with Qt's English words.
bool loadItalianTranslations(QApplication& app);

// Start-up of the application object: formats, translations, application name, the picture readers'
// allowance (pictureloader.h), the wheel rule of list boxes (wheelguard.h) and the keyboard and
// screen-reader conventions (accessibility.h). Used by main() and by the test programs' main().
void setupApplication(QApplication& app);

// Every picture that acts on a click shows the hand pointer.
void makeClickable(QWidget* widget);

} // namespace ombrisa
