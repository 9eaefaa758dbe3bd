#pragma once

#include "report/layouts/fieldtexts.h"

class QWidget;

namespace ombrisa {

// The texts a card screen shows, by control name, as the report fills take them: every edit box
// (QLineEdit), combo box (its current text) and label below `screen` whose name starts with "txt" or
// "lbl". Values are taken as they are; the fills trim them.
report::FieldTexts controlTexts(const QWidget* screen);

} // namespace ombrisa
