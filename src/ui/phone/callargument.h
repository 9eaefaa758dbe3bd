#pragma once

// The caller's number on the program's command line: "--chiamata NUMERO" ("--chiamata=NUMERO"), or a
// telephone link ("tel:…", "callto:…") as the desktop passes it. Read before anything else starts, so
// that a second start can hand the number on and end at once.

#include "core/phone/phonenumber.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace ombrisa {

struct CallArgument {
    bool given = false;                // the line asks for a call
    std::optional<GivenNumber> number; // its number; nothing when what was given is no number
    QString error;                     // the one-line Italian reason when given without a number
};

// `args` without the program's name.
CallArgument callArgument(const QStringList& args);

} // namespace ombrisa
