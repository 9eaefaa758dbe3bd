#include "ui/calls/StoricoChiamate.h"

#include "ui/common/services.h"
#include "ui/export/exporthelp.h"

namespace ombrisa {

TfrmStoricoChiamate::TfrmStoricoChiamate(QWidget* parent, const QString& codFisc)
    : ExportGridDialog(parent,
                       {QStringLiteral("frmStoricoChiamate"), QStringLiteral(" Storico chiamate cliente"),
                        ExportKind::Storico, QStringLiteral("Storico chiamate cliente"),
                        exportHelpParagraphs(ExportKind::Storico)},
                       codFisc) {}

void TfrmStoricoChiamate::open(QWidget* owner, const QString& codFisc) {
    execDialog(new TfrmStoricoChiamate(owner, codFisc));
}

} // namespace ombrisa
