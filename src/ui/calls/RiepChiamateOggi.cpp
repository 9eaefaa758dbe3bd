#include "ui/calls/RiepChiamateOggi.h"

#include "ui/common/conventions.h"
#include "ui/common/services.h"
#include "ui/export/exporthelp.h"

namespace ombrisa {

TfrmRiepChiamateOggi::TfrmRiepChiamateOggi(QWidget* parent)
    : ExportGridDialog(parent,
                       {QStringLiteral("frmRiepChiamateOggi"), QStringLiteral(" Riepilogo chiamate di oggi"),
                        ExportKind::Oggi, QStringLiteral("Riepilogo chiamate di oggi"),
                        exportHelpParagraphs(ExportKind::Oggi)},
                       clock().today().toString(kShortDateFormat)) {}

void TfrmRiepChiamateOggi::open(QWidget* owner) {
    execDialog(new TfrmRiepChiamateOggi(owner));
}

} // namespace ombrisa
