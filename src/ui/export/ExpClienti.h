#pragma once

// The export of the whole client archive (opened by the client card's cmdEsporta).

#include "ui/export/exportgrid.h"

namespace ombrisa {

class TfrmExpClienti : public ExportGridDialog {
    Q_OBJECT
public:
    explicit TfrmExpClienti(QWidget* parent = nullptr);
    // Creates the screen owned by `owner` and runs it modally.
    static void open(QWidget* owner);
};

} // namespace ombrisa
