#pragma once

// What the program's file choosers add to Qt's file dialog: the default extension of a name typed
// without one, and dates and sizes written the Italian way.

#include <QString>

class QFileDialog;
class QWidget;

namespace ombrisa {

// The file a name chosen in a load chooser stands for. A name that exists is taken as it is; otherwise
// the save choosers' rule (withDefaultSuffix, services.h) applies: "p" stands for "p.jpg".
QString withDefaultSuffixToOpen(const QString& path, const QString& defaultSuffix);

// Qt's own file dialog writes modification dates and file sizes in the operating system's language
// whatever the program's; this makes them follow the program's locale (QLocale()), Italian, like
// the rest of the dialog's texts.
void italianiseFileDialog(QFileDialog& dialog);

// A load chooser over `parent`: the path of an existing file, with `defaultSuffix` added to a name
// typed without one (before the dialog checks that the file exists); empty when cancelled.
QString chooseFileToOpen(QWidget* parent, const QString& caption, const QString& folder, const QString& filter,
                         const QString& defaultSuffix);

} // namespace ombrisa
