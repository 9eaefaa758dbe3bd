#include "ui/reports/reportpreview.h"

#include "ui/reports/printerservice.h"

#include "report/reportpainter.h"

#include <QAction>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

namespace ombrisa {

ReportPreviewDialog::ReportPreviewDialog(report::PreparedReport report, QWidget* parent)
    : QDialog(parent), report_(std::move(report)), printer_(new QPrinter(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("frmAnteprima"));
    setWindowTitle(QStringLiteral(" Anteprima di stampa"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    printer_->setPageLayout(report_.pageLayout);
    printer_->setDocName(report_.reportName);

    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("barAnteprima"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    preview_ = new QPrintPreviewWidget(printer_, this);
    preview_->setObjectName(QStringLiteral("pnlAnteprima"));

    auto addAction = [&](const char* name, const QString& text, const char* icon) {
        QAction* action = toolbar->addAction(QIcon::fromTheme(QString::fromLatin1(icon)), text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    QAction* print = addAction("actStampa", QStringLiteral("Stampa"), "document-print");
    toolbar->addSeparator();
    QAction* zoomOut = addAction("actRiduci", QStringLiteral("Riduci"), "zoom-out");
    QAction* zoomIn = addAction("actIngrandisci", QStringLiteral("Ingrandisci"), "zoom-in");
    QAction* actualSize = addAction("actZoom100", QStringLiteral("100%"), "zoom-original");
    toolbar->addSeparator();
    QAction* fullScreen = addAction("actSchermoIntero", QStringLiteral("Schermo intero"), "view-fullscreen");
    fullScreen->setCheckable(true);
    QAction* close = addAction("actChiudi", QStringLiteral("Chiudi"), "window-close");

    connect(print, &QAction::triggered, this, [this] { printerService().print(report_, this); });
    connect(zoomIn, &QAction::triggered, preview_, [this] { preview_->zoomIn(); });
    connect(zoomOut, &QAction::triggered, preview_, [this] { preview_->zoomOut(); });
    connect(actualSize, &QAction::triggered, preview_, [this] { preview_->setZoomFactor(1.0); });
    connect(fullScreen, &QAction::toggled, this, [this](bool on) { on ? showFullScreen() : showNormal(); });
    connect(close, &QAction::triggered, this, &QDialog::reject);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, &ReportPreviewDialog::paintRequested);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(preview_, 1);

    preview_->setViewMode(QPrintPreviewWidget::SinglePageView);
    preview_->setZoomMode(QPrintPreviewWidget::CustomZoom);
    preview_->setZoomFactor(1.0);

    // A whole A4 page at zoom 1 is taller than most screens: open large, within the screen.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1366, 768);
    resize(std::min(1000, available.width() * 9 / 10), available.height() * 9 / 10);
}

ReportPreviewDialog::~ReportPreviewDialog() {
    delete preview_;
    delete printer_;
}

void ReportPreviewDialog::paintRequested(QPrinter* printer) {
    QPainter painter(printer);
    report::paintReport(report_, painter, *printer);
}

} // namespace ombrisa
