#include "ui/export/ExpChiamate.h"

#include "ui/common/services.h"
#include "ui/export/exporthelp.h"

namespace ombrisa {

TfrmExpChiamate::TfrmExpChiamate(QWidget* parent)
    : ExportGridDialog(parent,
                       {QStringLiteral("frmExpChiamate"), QStringLiteral(" Esportazione registro chiamate in Excel"),
                        ExportKind::Chiamate, QStringLiteral("Esportazione registro chiamate in Excel"),
                        exportHelpParagraphs(ExportKind::Chiamate)}) {}

void TfrmExpChiamate::open(QWidget* owner) {
    execDialog(new TfrmExpChiamate(owner));
}

} // namespace ombrisa
