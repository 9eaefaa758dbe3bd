#pragma once

// The export of the whole call register (opened by the call card's cmdEsporta).

#include "ui/export/exportgrid.h"

namespace ombrisa {

class TfrmExpChiamate : public ExportGridDialog {
    Q_OBJECT
public:
    explicit TfrmExpChiamate(QWidget* parent = nullptr);
    // Creates the screen owned by `owner` and runs it modally.
    static void open(QWidget* owner);
};

} // namespace ombrisa
