#pragma once

// A client's call history: the calls of the register that carry the client's codice fiscale, with
// their export (opened by the client card's btnProve).

#include "ui/export/exportgrid.h"

namespace ombrisa {

class TfrmStoricoChiamate : public ExportGridDialog {
    Q_OBJECT
public:
    // `codFisc` is the client card's txtCodFisc text; it is trimmed, its case kept.
    TfrmStoricoChiamate(QWidget* parent, const QString& codFisc);
    static void open(QWidget* owner, const QString& codFisc);
};

} // namespace ombrisa
