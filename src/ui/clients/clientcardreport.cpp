#include "clientcardreport.h"

#include "common/openurl.h"
#include "common/services.h"
#include "layouts/clientcard.h"
#include "printerservice.h"
#include "reports/controltexts.h"
#include "storage/appfolder.h"

#include <QAbstractButton>

namespace ombrisa {

void printClientCard(QWidget* screen, const report::FieldTexts& texts) {
    const report::OutputResult result = report::printerService().print(
        report::prepareClientCard(texts, report::ClientCardTarget::Paper, clock().now()), screen);
    if (result.failed())
        showWarning(screen, result.message);
}

void previewClientCard(QWidget* screen, const report::FieldTexts& texts) {
    report::printerService().preview(report::prepareClientCard(texts, report::ClientCardTarget::Paper, clock().now()),
                                     screen);
}

bool exportClientCardPdf(QWidget* screen, const report::FieldTexts& texts) {
    const QString path = appPath(QString::fromLatin1(report::kClientCardPdfName));
    const report::OutputResult result = report::printerService().writePdf(
        report::prepareClientCard(texts, report::ClientCardTarget::Pdf, clock().now()), path,
        report::clientCardPdfProperties());
    if (!result.done()) {
        showWarning(screen, result.message);
        return false;
    }
    if (confirm(screen, kPdfDoneQuestion))
        TMisc::Open(QLatin1Char('"') + path + QLatin1Char('"'));
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
