#include "ui/export/ExpClienti.h"

#include "ui/common/services.h"
#include "ui/export/exporthelp.h"

namespace ombrisa {

TfrmExpClienti::TfrmExpClienti(QWidget* parent)
    : ExportGridDialog(parent, {QStringLiteral("frmExpClienti"), QStringLiteral(" Esporta archivio clienti in Excel"),
                                ExportKind::Clienti, QStringLiteral("Esportazione archivio clienti in Excel"),
                                exportHelpParagraphs(ExportKind::Clienti)}) {}

void TfrmExpClienti::open(QWidget* owner) {
    execDialog(new TfrmExpClienti(owner));
}

} // namespace ombrisa
