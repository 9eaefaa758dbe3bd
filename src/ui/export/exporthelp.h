#pragma once

// The help paragraphs of the four export screens, one home for them.

#include "core/export/exports.h"

#include <QStringList>

namespace ombrisa {

const QStringList& exportHelpParagraphs(ExportKind kind);

} // namespace ombrisa
