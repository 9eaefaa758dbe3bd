#pragma once

// Today's calls: the calls of the register whose date is today's date text, with their export
// (opened by the call card's cmdRiepOggi).

#include "ui/export/exportgrid.h"

namespace ombrisa {

class TfrmRiepChiamateOggi : public ExportGridDialog {
    Q_OBJECT
public:
    // Today is taken from the clock now, as dd/mm/yyyy.
    explicit TfrmRiepChiamateOggi(QWidget* parent = nullptr);
    static void open(QWidget* owner);
};

} // namespace ombrisa
