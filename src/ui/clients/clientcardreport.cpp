#include "ui/clients/clientcardreport.h"

#include "ui/common/openurl.h"
#include "ui/common/services.h"
#include "report/layouts/clientcard.h"
#include "ui/reports/printerservice.h"
#include "ui/reports/controltexts.h"
#include "core/storage/appfolder.h"

#include <QAbstractButton>

namespace ombrisa {

void printClientCard(QWidget* screen, const report::FieldTexts& texts) {
    const report::OutputResult result = printerService().print(
        report::prepareClientCard(texts, report::ClientCardTarget::Paper, clock().now()), screen);
    if (result.failed())
        showWarning(screen, result.message);
}

void previewClientCard(QWidget* screen, const report::FieldTexts& texts) {
    printerService().preview(report::prepareClientCard(texts, report::ClientCardTarget::Paper, clock().now()),
                                     screen);
}

bool exportClientCardPdf(QWidget* screen, const report::FieldTexts& texts) {
    const QString path = appPath(QString::fromLatin1(report::kClientCardPdfName));
    const report::OutputResult result = printerService().writePdf(
        report::prepareClientCard(texts, report::ClientCardTarget::Pdf, clock().now()), path,
        report::clientCardPdfProperties());
    if (!result.done()) {
        showWarning(screen, result.message);
        return false;
    }
    if (confirm(screen, kPdfDoneQuestion))
        TMisc::Open(QLatin1Char('"') + path + QLatin1Char('"'), screen);
    return true;
}

void printClientCard(QWidget* screen) {
    printClientCard(screen, controlTexts(screen));
}
void previewClientCard(QWidget* screen) {
    previewClientCard(screen, controlTexts(screen));
}
bool exportClientCardPdf(QWidget* screen) {
    return exportClientCardPdf(screen, controlTexts(screen));
}

void connectClientCardOutput(QWidget* screen, QAbstractButton* cmdStampa, QAbstractButton* cmdAnteprima,
                             QAbstractButton* cmdPDF) {
    QObject::connect(cmdStampa, &QAbstractButton::clicked, screen, [screen] { printClientCard(screen); });
    QObject::connect(cmdAnteprima, &QAbstractButton::clicked, screen, [screen] { previewClientCard(screen); });
    QObject::connect(cmdPDF, &QAbstractButton::clicked, screen, [screen] { exportClientCardPdf(screen); });
}

} // namespace ombrisa
